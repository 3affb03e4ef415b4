#include "codecs/AesLib.h"

#include "support/FileUtil.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace pyxa {

namespace {

constexpr int kIterations = 1000;
constexpr size_t kVerifierLength = 2;
constexpr size_t kTrailerLength = 10;
constexpr size_t kMaxKeyLength = 32;
constexpr size_t kMaxSaltLength = 16;

struct TKeyModeInfo {
    size_t KeyLength;
    size_t SaltLength;
};

// Indexed by key mode - 1.
constexpr std::array<TKeyModeInfo, 3> kKeyModes {{{16, 8}, {24, 12}, {32, 16}}};

int KeyModeOf(size_t passwordBytes)
{
    if (passwordBytes < 32)
        return 1;
    return passwordBytes < 48 ? 2 : 3;
}

const TKeyModeInfo& ModeInfo(int mode)
{
    return kKeyModes[static_cast<size_t>(mode - 1)];
}

// Writing a file over the one being read would destroy it before it is read.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

}  // namespace

TCrypt::TCrypt(std::string Password, uint32_t ABufSize)
    : FMode(KeyModeOf(Password.size())), FPwd(std::move(Password)), CBufSize(std::max<uint32_t>(ABufSize, 1)),
      CBuffer(CBufSize)
{
}

TCrypt::~TCrypt()
{
    Cleanse(FPwd.data(), FPwd.size());
    Cleanse(CBuffer.data(), CBuffer.size());
}

int TCrypt::GetHeaderSize() const
{
    return static_cast<int>(SaltLength() + kVerifierLength);
}

int TCrypt::GetTrailerSize() const
{
    return static_cast<int>(kTrailerLength);
}

size_t TCrypt::SaltLength() const
{
    return ModeInfo(FMode).SaltLength;
}

bool TCrypt::StartKeys(const uint8_t* salt, uint8_t* verifier)
{
    const size_t keyLength = ModeInfo(FMode).KeyLength;
    std::array<uint8_t, 2 * kMaxKeyLength + kVerifierLength> material {};
    const uint8_t* aesKey = material.data();
    const uint8_t* macKey = aesKey + keyLength;
    const uint8_t* derivedVerifier = macKey + keyLength;
    FCryptCtx.Ready = Pbkdf2HmacSha1(FPwd, salt, SaltLength(), kIterations, material.data(),
                                     2 * keyLength + kVerifierLength)
        && FCryptCtx.KeyStream.Start(aesKey, keyLength) && FCryptCtx.Mac.Start(macKey, keyLength);
    std::memcpy(verifier, derivedVerifier, kVerifierLength);
    Cleanse(material.data(), material.size());
    return FCryptCtx.Ready;
}

bool TCrypt::EncryptBlock(uint8_t* Buffer, size_t BLen)
{
    FCryptCtx.Ready = FCryptCtx.Ready && FCryptCtx.KeyStream.Apply(Buffer, BLen) && FCryptCtx.Mac.Update(Buffer, BLen);
    return FCryptCtx.Ready;
}

bool TCrypt::DecryptBlock(uint8_t* Buffer, size_t BLen)
{
    FCryptCtx.Ready = FCryptCtx.Ready && FCryptCtx.Mac.Update(Buffer, BLen) && FCryptCtx.KeyStream.Apply(Buffer, BLen);
    return FCryptCtx.Ready;
}

bool TCrypt::WriteTrailer(TStream& sDest)
{
    std::array<uint8_t, kSha1DigestSize> digest {};
    const bool finished = FCryptCtx.Ready && FCryptCtx.Mac.Finish(digest);
    FCryptCtx.Ready = false;
    FCryptCtx.KeyStream.Clear();
    return finished && sDest.Write(digest.data(), kTrailerLength);
}

bool TCrypt::ReadHeader(TStream& sSource)
{
    FCryptCtx.Ready = false;
    std::array<uint8_t, kMaxSaltLength + kVerifierLength> header {};
    const size_t saltLength = SaltLength();
    std::array<uint8_t, kVerifierLength> verifier {};
    if (!sSource.ReadExact(header.data(), static_cast<int64_t>(saltLength + kVerifierLength))
        || !StartKeys(header.data(), verifier.data()))
        return false;
    // A wrong password must not go on to produce output.
    FCryptCtx.Ready = std::memcmp(verifier.data(), header.data() + saltLength, kVerifierLength) == 0;
    if (!FCryptCtx.Ready)
        FCryptCtx.KeyStream.Clear();
    return FCryptCtx.Ready;
}

bool TCrypt::ReadTrailer(TStream& sSource)
{
    std::array<uint8_t, kSha1DigestSize> digest {};
    std::array<uint8_t, kTrailerLength> stored {};
    const bool finished = FCryptCtx.Ready && FCryptCtx.Mac.Finish(digest);
    FCryptCtx.Ready = false;
    FCryptCtx.KeyStream.Clear();
    return finished && sSource.ReadExact(stored.data(), kTrailerLength)
        && CRYPTO_memcmp(digest.data(), stored.data(), kTrailerLength) == 0;
}

TEncryption::TEncryption(std::string Password, uint32_t ABufSize) : TCrypt(std::move(Password), ABufSize)
{
}

void TEncryption::DoProgress(TFileAction AAction, int64_t ACount)
{
    if (FOnProgress)
        FOnProgress(this, AAction, ACount);
}

bool TEncryption::WriteHeader(TStream& sDest)
{
    std::array<uint8_t, kMaxSaltLength + kVerifierLength> header {};
    const size_t saltLength = SaltLength();
    return RandomBytes(header.data(), saltLength) && StartKeys(header.data(), header.data() + saltLength)
        && sDest.Write(header.data(), static_cast<int64_t>(saltLength + kVerifierLength));
}

int64_t TEncryption::ReadChunk(TStream& sSource)
{
    int64_t filled = 0;
    while (filled < CBufSize) {
        const int64_t got = sSource.Read(CBuffer.data() + filled, CBufSize - filled);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

bool TEncryption::EncryptStream(TStream& sSource, TStream& sDest)
{
    if (!WriteHeader(sDest))
        return false;
    int64_t total = 0;
    for (;;) {
        const int64_t count = ReadChunk(sSource);
        if (count < 0)
            return false;
        total += count;
        DoProgress(TFileAction::acEncrypt, total);
        if (!EncryptBlock(CBuffer.data(), static_cast<size_t>(count)) || !sDest.Write(CBuffer.data(), count))
            return false;
        // A short read is the end; a plaintext of whole buffers ends with an empty one.
        if (count < CBufSize)
            return WriteTrailer(sDest);
    }
}

bool TEncryption::DecryptStream(TStream& sSource, TStream* sDest, int64_t SLength)
{
    DoProgress(TFileAction::acCopy, -sSource.Size());
    int64_t remaining = SLength - GetHeaderSize() - GetTrailerSize();
    if (remaining < 0 || !ReadHeader(sSource))
        return false;
    while (remaining > 0) {
        const int64_t count = std::min<int64_t>(CBufSize, remaining);
        if (!sSource.ReadExact(CBuffer.data(), count))
            return false;
        DoProgress(TFileAction::acDecrypt, count);
        if (!DecryptBlock(CBuffer.data(), static_cast<size_t>(count)))
            return false;
        if (sDest && !sDest->Write(CBuffer.data(), count))
            return false;
        remaining -= count;
    }
    return ReadTrailer(sSource);
}

int EncryptFileWithPassword(const std::filesystem::path& source, const std::filesystem::path& dest,
                            const std::string& password)
{
    TFileStream input;
    if (!input.Open(source, TFileMode::Read) || SameFile(source, dest))
        return 1;
    TFileStream output;
    if (!output.Open(dest, TFileMode::Create))
        return 1;
    TEncryption crypt(password, kCryptBufferSize);
    if (crypt.EncryptStream(input, output) && output.Close())
        return 0;
    output.Close();
    DeleteFileIfExists(dest);
    return 1;
}

int DecryptFileWithPassword(const std::filesystem::path& source, const std::filesystem::path& dest,
                            const std::string& password)
{
    TFileStream input;
    if (!input.Open(source, TFileMode::Read) || SameFile(source, dest))
        return -1;
    TFileStream output;
    if (!output.Open(dest, TFileMode::Create))
        return -1;
    TEncryption crypt(password, kCryptBufferSize);
    if (crypt.DecryptStream(input, &output, input.Size()) && output.Close())
        return 0;
    output.Close();
    DeleteFileIfExists(dest);
    return 1;
}

int EncryptStreamWithPassword(TStream* source, TStream* dest, const std::string& password)
{
    if (!source || !dest)
        return 1;
    TEncryption crypt(password, kCryptBufferSize);
    return crypt.EncryptStream(*source, *dest) && dest->Seek(0) ? 0 : 1;
}

int DecryptStreamWithPassword(TStream* source, TStream* dest, const std::string& password)
{
    if (!source || !dest)
        return -1;
    TEncryption crypt(password, kCryptBufferSize);
    const int64_t length = source->Size() - source->Position();
    return crypt.DecryptStream(*source, dest, length) && dest->Seek(0) ? 0 : 1;
}

}  // namespace pyxa
