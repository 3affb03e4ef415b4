// Throughput of the encrypted stream in both directions, memory to memory.
//   bench_crypto [MiB]   (default 256); compare with: openssl speed -evp aes-128-ctr

#include "BenchUtil.h"
#include "codecs/AesLib.h"

#include <cstdio>
#include <cstdlib>

using namespace pyxa;

namespace {

// Takes what is written and keeps none of it, so the timing is the codec's alone.
class TDiscardStream : public TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    bool Write(const void*, int64_t count) override
    {
        FSize += count;
        return true;
    }
    bool Seek(int64_t position) override { return position >= 0; }
    int64_t Position() const override { return FSize; }
    int64_t Size() const override { return FSize; }

private:
    int64_t FSize = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const int64_t mib = argc > 1 ? std::atoll(argv[1]) : 256;
    TMemoryStream plain;
    std::vector<uint8_t> chunk(1 << 20);
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (int64_t i = 0; i < mib; ++i) {
        bench::FillNoise(chunk.data(), chunk.size(), state);
        plain.Write(chunk.data(), static_cast<int64_t>(chunk.size()));
    }
    for (const char* password : {"short password", "a password of forty-eight bytes, for AES-256 key"}) {
        plain.Seek(0);
        TMemoryStream sealed;
        if (EncryptStreamWithPassword(&plain, &sealed, password) != 0)
            return 1;
        plain.Seek(0);
        TDiscardStream discard;
        auto start = std::chrono::steady_clock::now();
        if (EncryptStreamWithPassword(&plain, &discard, password) != 0)
            return 1;
        const double encryptMs = bench::MillisecondsSince(start);
        sealed.Seek(0);
        TDiscardStream opened;
        start = std::chrono::steady_clock::now();
        if (DecryptStreamWithPassword(&sealed, &opened, password) != 0 || opened.Size() != plain.Size())
            return 1;
        const double decryptMs = bench::MillisecondsSince(start);
        std::printf("mode %d: encrypt %.0f MB/s, decrypt %.0f MB/s (%lld MiB)\n", TEncryption(password, 16).KeyMode(),
                    plain.Size() / 1e3 / encryptMs, plain.Size() / 1e3 / decryptMs, static_cast<long long>(mib));
    }
    return 0;
}
