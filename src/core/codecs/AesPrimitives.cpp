#include "codecs/AesPrimitives.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace pyxa {

namespace {

const EVP_CIPHER* AesEcbCipher(size_t keyLength)
{
    switch (keyLength) {
    case 16: return EVP_aes_128_ecb();
    case 24: return EVP_aes_192_ecb();
    case 32: return EVP_aes_256_ecb();
    default: return nullptr;
    }
}

void StoreCounterBlock(uint8_t* block, uint64_t counter)
{
    if constexpr (std::endian::native != std::endian::little) {
        uint64_t swapped = 0;
        for (size_t i = 0; i < 8; ++i)
            swapped |= ((counter >> (8 * i)) & 0xFF) << (56 - 8 * i);
        counter = swapped;
    }
    const uint64_t zero = 0;
    std::memcpy(block, &counter, 8);
    std::memcpy(block + 8, &zero, 8);
}

// Word-wise XOR: the byte loop is not vectorised at -O2 because the buffers may overlap.
void XorInto(uint8_t* data, const uint8_t* stream, size_t count)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, data + i, 8);
        std::memcpy(&b, stream + i, 8);
        a ^= b;
        std::memcpy(data + i, &a, 8);
    }
    for (; i < count; ++i)
        data[i] ^= stream[i];
}

}  // namespace

TAesKeyStream::TAesKeyStream() : FCipher(EVP_CIPHER_CTX_new()), FStream(kBatchBlocks * kAesBlockSize)
{
}

TAesKeyStream::~TAesKeyStream()
{
    Clear();
    EVP_CIPHER_CTX_free(FCipher);
}

bool TAesKeyStream::Start(const uint8_t* key, size_t keyLength)
{
    Clear();
    const EVP_CIPHER* cipher = AesEcbCipher(keyLength);
    if (!FCipher || !cipher || EVP_EncryptInit_ex(FCipher, cipher, nullptr, key, nullptr) != 1
        || EVP_CIPHER_CTX_set_padding(FCipher, 0) != 1)
        return false;
    FStarted = true;
    return true;
}

bool TAesKeyStream::Apply(uint8_t* data, size_t length)
{
    if (!FStarted)
        return false;
    while (length > 0) {
        if (FPosition == FAvailable && !Refill((length + kAesBlockSize - 1) / kAesBlockSize))
            return false;
        const size_t count = std::min(length, FAvailable - FPosition);
        XorInto(data, FStream.data() + FPosition, count);
        data += count;
        length -= count;
        FPosition += count;
    }
    return true;
}

// Encrypts the next counter blocks in place in one cipher call.
bool TAesKeyStream::Refill(size_t blocks)
{
    blocks = std::min(blocks, kBatchBlocks);
    uint8_t* out = FStream.data();
    for (size_t i = 0; i < blocks; ++i)
        StoreCounterBlock(out + i * kAesBlockSize, ++FCounter);
    const int bytes = static_cast<int>(blocks * kAesBlockSize);
    int written = 0;
    if (EVP_EncryptUpdate(FCipher, out, &written, out, bytes) != 1 || written != bytes) {
        Clear();
        return false;
    }
    FPosition = 0;
    FAvailable = static_cast<size_t>(bytes);
    return true;
}

void TAesKeyStream::Clear()
{
    Cleanse(FStream.data(), FStream.size());
    FStarted = false;
    FCounter = 0;
    FPosition = 0;
    FAvailable = 0;
    if (FCipher)
        EVP_CIPHER_CTX_reset(FCipher);
}

THmacSha1::THmacSha1() : FMac(EVP_MAC_fetch(nullptr, OSSL_MAC_NAME_HMAC, nullptr))
{
    if (FMac)
        FContext = EVP_MAC_CTX_new(FMac);
}

THmacSha1::~THmacSha1()
{
    EVP_MAC_CTX_free(FContext);
    EVP_MAC_free(FMac);
}

bool THmacSha1::Start(const uint8_t* key, size_t keyLength)
{
    FStarted = false;
    if (!FContext)
        return false;
    char digestName[] = OSSL_DIGEST_NAME_SHA1;
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
        OSSL_PARAM_construct_end(),
    };
    FStarted = EVP_MAC_init(FContext, key, keyLength, params) == 1;
    return FStarted;
}

bool THmacSha1::Update(const uint8_t* data, size_t length)
{
    if (!FStarted)
        return false;
    if (length == 0 || EVP_MAC_update(FContext, data, length) == 1)
        return true;
    FStarted = false;
    return false;
}

bool THmacSha1::Finish(std::array<uint8_t, kSha1DigestSize>& digest)
{
    if (!FStarted)
        return false;
    FStarted = false;
    size_t written = 0;
    return EVP_MAC_final(FContext, digest.data(), &written, digest.size()) == 1 && written == digest.size();
}

bool Pbkdf2HmacSha1(const std::string& password, const uint8_t* salt, size_t saltLength, int iterations,
                    uint8_t* out, size_t outLength)
{
    if (password.size() > INT_MAX || saltLength > INT_MAX || outLength > INT_MAX)
        return false;
    return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt, static_cast<int>(saltLength),
                             iterations, EVP_sha1(), static_cast<int>(outLength), out)
        == 1;
}

bool RandomBytes(uint8_t* out, size_t length)
{
    return length <= INT_MAX && RAND_bytes(out, static_cast<int>(length)) == 1;
}

void Cleanse(void* data, size_t length)
{
    OPENSSL_cleanse(data, length);
}

}  // namespace pyxa
