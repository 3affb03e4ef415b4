#pragma once
// Encrypted streams of byte strings, made and read through the engine's stream functions.

#include "codecs/AesLib.h"

#include <stdexcept>
#include <string>

namespace pyxa::test {

inline std::string Encrypted(const std::string& plain, const std::string& password)
{
    TMemoryStream source;
    source.Write(plain.data(), static_cast<int64_t>(plain.size()));
    source.Seek(0);
    TMemoryStream dest;
    if (EncryptStreamWithPassword(&source, &dest, password) != 0)
        throw std::runtime_error("encryption failed");
    return std::string(dest.Data().begin(), dest.Data().end());
}

inline std::string Decrypted(const std::string& packed, const std::string& password)
{
    TMemoryStream source;
    source.Write(packed.data(), static_cast<int64_t>(packed.size()));
    source.Seek(0);
    TMemoryStream dest;
    if (DecryptStreamWithPassword(&source, &dest, password) != 0)
        throw std::runtime_error("not encrypted with that password");
    return std::string(dest.Data().begin(), dest.Data().end());
}

}  // namespace pyxa::test
