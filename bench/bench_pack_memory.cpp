// Peak memory while one large file is packed through the file pipeline and unpacked again.
//   bench_pack_memory [MiB]   (default 2048)

#include "BenchUtil.h"
#include "codecs/ItemPipeline.h"
#include "helpers/FakeHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pyxa;

int main(int argc, char** argv)
{
    const int64_t mib = argc > 1 ? std::atoll(argv[1]) : 2048;
    bench::ScratchFolder scratch("pyxa-bench-pack");
    const std::filesystem::path source = scratch.Path() / "large.bin";
    {
        // Text-like data: compressible, but not trivially.
        TFileStream out(source, TFileMode::Create);
        std::string block;
        for (int line = 0; block.size() < (1u << 20); ++line)
            block += "line " + std::to_string(line * 7919 % 100003) + " of a large generated log file\n";
        block.resize(1u << 20);
        for (int64_t i = 0; i < mib; ++i) {
            std::memcpy(block.data(), &i, sizeof i);
            out.Write(block.data(), static_cast<int64_t>(block.size()));
        }
    }
    const double before = bench::PeakRssMiB();
    test::FakeHost host;
    TContainer container(host);
    container.WorkingFolder.Create(scratch.Path());
    TItemInfo item;
    item.Name = "large.bin";
    item.Size = std::filesystem::file_size(source);
    auto start = std::chrono::steady_clock::now();
    if (PackItemViaFiles(container, source, "", &item) != PackResult::Ok)
        return 1;
    const double packMs = bench::MillisecondsSince(start);
    start = std::chrono::steady_clock::now();
    if (UnpackItem(container, item, scratch.Path() / "back.bin", false) != UnpackResult::Ok)
        return 1;
    const double unpackMs = bench::MillisecondsSince(start);
    std::printf("%lld MiB: pack %.1f s (%.0f MB/s), unpack %.1f s; peak RSS %.1f MiB (%.1f MiB before packing)\n",
                static_cast<long long>(mib), packMs / 1000, item.Size / 1e3 / packMs, unpackMs / 1000,
                bench::PeakRssMiB(), before);
    return 0;
}
