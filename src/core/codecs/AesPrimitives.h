#pragma once
// The cryptographic primitives of the AES stream, over OpenSSL libcrypto: the counter-mode
// key stream, HMAC-SHA1, PBKDF2-HMAC-SHA1 and the random source of the salts.

#include <openssl/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pyxa {

inline constexpr size_t kAesBlockSize = 16;
inline constexpr size_t kSha1DigestSize = 20;

// Counter-mode key stream of the WinZip AES form: block n is the AES encryption of a block
// holding n as a 64-bit little-endian integer in its first 8 bytes and zeros in the other 8.
// The first block is n = 1. Unused key-stream bytes carry over to the next Apply, so data
// may come in chunks of any size.
class TAesKeyStream {
public:
    TAesKeyStream();
    ~TAesKeyStream();
    TAesKeyStream(const TAesKeyStream&) = delete;
    TAesKeyStream& operator=(const TAesKeyStream&) = delete;

    // Expands a 16, 24 or 32-byte key and restarts the counter; false for any other length.
    bool Start(const uint8_t* key, size_t keyLength);
    // XORs length bytes in place with the next key-stream bytes; false when not started.
    bool Apply(uint8_t* data, size_t length);
    void Clear();

private:
    // Counter blocks encrypted in one cipher call: big enough to amortise the call.
    static constexpr size_t kBatchBlocks = 2048;

    bool Refill(size_t blocks);

    EVP_CIPHER_CTX* FCipher = nullptr;
    bool FStarted = false;
    uint64_t FCounter = 0;
    std::vector<uint8_t> FStream;
    size_t FPosition = 0;   // next unused byte of FStream
    size_t FAvailable = 0;  // bytes of FStream that hold key stream
};

// HMAC-SHA1 over data given in pieces.
class THmacSha1 {
public:
    THmacSha1();
    ~THmacSha1();
    THmacSha1(const THmacSha1&) = delete;
    THmacSha1& operator=(const THmacSha1&) = delete;

    bool Start(const uint8_t* key, size_t keyLength);
    // False when not started or the digest was already taken.
    bool Update(const uint8_t* data, size_t length);
    // Ends the message; false when not started or already finished.
    bool Finish(std::array<uint8_t, kSha1DigestSize>& digest);

private:
    EVP_MAC* FMac = nullptr;
    EVP_MAC_CTX* FContext = nullptr;
    bool FStarted = false;
};

// PBKDF2 with HMAC-SHA1 over the password bytes and the salt, for outLength bytes.
// Passwords of any length are taken in full, as RFC 2898 defines it.
bool Pbkdf2HmacSha1(const std::string& password, const uint8_t* salt, size_t saltLength, int iterations,
                    uint8_t* out, size_t outLength);

// Bytes from the operating system's random source.
bool RandomBytes(uint8_t* out, size_t length);

// Overwrites memory in a way the compiler does not remove.
void Cleanse(void* data, size_t length);

}  // namespace pyxa
