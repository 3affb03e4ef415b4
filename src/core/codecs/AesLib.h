#pragma once
// The encrypted stream of an item, in the WinZip AES form without zip framing:
//   salt (8, 12 or 16 bytes) | password verifier (2) | ciphertext (as long as the plaintext)
//   | authentication code (10: the first bytes of the HMAC-SHA1 of the ciphertext).
// The key mode follows from the byte length of the password (0-31: AES-128, 32-47: AES-192,
// 48 or more: AES-256); nothing in the stream records it.

#include "codecs/AesPrimitives.h"
#include "support/Stream.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pyxa {

// Work buffer of the password functions.
inline constexpr uint32_t kCryptBufferSize = 0x40000;

// Actions announced to a progress callback; the encryption raises acCopy, acEncrypt and acDecrypt.
enum class TFileAction : int {
    acNone,
    acCopy,
    acCompress,
    acUnCompress,
    acEncrypt,
    acDecrypt,
    acVerify,
    acFtpWrite,
    acFtpRead,
};

class TEncryption;

// acCopy with a negative count announces the total; acEncrypt carries the running total
// of plaintext bytes, acDecrypt the count of one chunk.
using TProgressEvent = std::function<void(TEncryption* Sender, TFileAction AAction, int64_t ACount)>;

// Key stream and authentication state of one stream.
struct TFCryptContext {
    TAesKeyStream KeyStream;
    THmacSha1 Mac;
    // Keys are derived and the authentication code is not finished yet.
    bool Ready = false;
};

// Key mode, key derivation and the block and trailer steps shared by both directions.
class TCrypt {
public:
    // Password: the bytes of the password (UTF-8 for texts), any length. A buffer size of 0 is taken as 1.
    TCrypt(std::string Password, uint32_t ABufSize);
    virtual ~TCrypt();
    TCrypt(const TCrypt&) = delete;
    TCrypt& operator=(const TCrypt&) = delete;

    int KeyMode() const { return FMode; }
    // Salt and verifier.
    int GetHeaderSize() const;
    int GetTrailerSize() const;

    // Encrypts in place, then adds the ciphertext to the authentication code.
    // False when no header step has set up the keys, or after the trailer step.
    bool EncryptBlock(uint8_t* Buffer, size_t BLen);
    // Adds the ciphertext to the authentication code, then decrypts it in place.
    bool DecryptBlock(uint8_t* Buffer, size_t BLen);
    // Finishes the authentication code and writes it; false on a write error or without keys.
    bool WriteTrailer(TStream& sDest);
    // Reads salt and verifier and derives the keys; true when the verifier matches.
    bool ReadHeader(TStream& sSource);
    // Finishes the authentication code and reads the stored one; true when they match.
    bool ReadTrailer(TStream& sSource);

protected:
    size_t SaltLength() const;
    // Derives the AES key, the authentication key and the verifier from the password and the salt.
    bool StartKeys(const uint8_t* salt, uint8_t* verifier);

    int FMode;
    TFCryptContext FCryptCtx;
    std::string FPwd;
    uint32_t CBufSize;
    std::vector<uint8_t> CBuffer;
};

// One stream in one direction: construct, one EncryptStream or DecryptStream, destroy.
// Salts come from the operating system's random source.
class TEncryption : public TCrypt {
public:
    TEncryption(std::string Password, uint32_t ABufSize);

    void SetOnProgress(TProgressEvent AHandler) { FOnProgress = std::move(AHandler); }

    // Draws a salt, derives the keys and writes salt and verifier; false if that fails.
    bool WriteHeader(TStream& sDest);
    // Writes the encrypted stream of the source's remaining bytes.
    bool EncryptStream(TStream& sSource, TStream& sDest);
    // Reads an encrypted stream of SLength bytes from the source's position and writes the
    // plaintext to sDest, or only verifies it when sDest is null. A wrong password fails before
    // anything is written; damage is found by the authentication code after all data was written.
    // A length shorter than header plus trailer fails without reading.
    bool DecryptStream(TStream& sSource, TStream* sDest, int64_t SLength);

private:
    void DoProgress(TFileAction AAction, int64_t ACount);
    // Fills CBuffer from the source up to CBufSize bytes; fewer only at the end; -1 on an error.
    int64_t ReadChunk(TStream& sSource);

    TProgressEvent FOnProgress;
};

// Encrypts the whole source file into dest (created or replaced). 0 done; 1 failed, also when
// the source cannot be opened, names the same file as dest, or dest cannot be created.
// A destination this call created is deleted on failure.
int EncryptFileWithPassword(const std::filesystem::path& source, const std::filesystem::path& dest,
                            const std::string& password);
// Decrypts the whole source file into dest (created or replaced). 0 done; 1 wrong password,
// damaged data or an error while decrypting (dest is then deleted); -1 the source cannot be
// opened, names the same file as dest, or dest cannot be created.
int DecryptFileWithPassword(const std::filesystem::path& source, const std::filesystem::path& dest,
                            const std::string& password);
// Encrypts from the source's position into dest at its position. 0 done (dest position set to 0);
// 1 failed or a stream is missing.
int EncryptStreamWithPassword(TStream* source, TStream* dest, const std::string& password);
// Decrypts the bytes from the source's position to its end into dest at its position.
// 0 done (dest position set to 0); 1 wrong password, damaged data or an error (what was written
// stays in dest for the caller to discard); -1 a stream is missing.
int DecryptStreamWithPassword(TStream* source, TStream* dest, const std::string& password);

}  // namespace pyxa
