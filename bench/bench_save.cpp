// A container holding about 1 GiB of item data: the time of a full rewrite, then of the
// index-only rewrite after one rename.
//   bench_save [MiB]   (default 1024)

#include "BenchUtil.h"
#include "container/SaveContainer.h"
#include "helpers/FakeHost.h"
#include "support/Stream.h"

#include <cstdio>
#include <cstdlib>

using namespace pyxa;

int main(int argc, char** argv)
{
    const int64_t mib = argc > 1 ? std::atoll(argv[1]) : 1024;
    bench::ScratchFolder scratch("pyxa-bench-save");
    test::FakeHost host;
    TContainer container(host);
    container.WorkingFolder.Create(scratch.Path());

    // Pending items of 64 MiB each; the save copies packed data without looking into it.
    std::vector<uint8_t> chunk(1 << 20);
    uint64_t state = 42;
    const int64_t itemMiB = 64;
    for (int64_t made = 0; made < mib; made += itemMiB) {
        auto item = std::make_unique<TItemInfo>();
        item->Name = "item " + std::to_string(made / itemMiB) + ".bin";
        item->Size = itemMiB << 20;
        item->TmpCmpFile = container.NewTempFileName();
        TFileStream out(item->TmpCmpFile, TFileMode::Create);
        for (int64_t i = 0; i < itemMiB; ++i) {
            bench::FillNoise(chunk.data(), chunk.size(), state);
            out.Write(chunk.data(), static_cast<int64_t>(chunk.size()));
        }
        container.Tree.Add(nullptr, std::move(item));
    }
    container.SetModified(true, true);
    host.SaveTargets.push_back((scratch.Path() / "big.pyxa").string());

    auto start = std::chrono::steady_clock::now();
    if (SaveContainer(container, false) != SaveResult::Ok)
        return 1;
    const double fullMs = bench::MillisecondsSince(start);

    container.Tree.TopLevel(0)->Item().Name = "renamed.bin";
    container.SetModified(true, false);
    start = std::chrono::steady_clock::now();
    if (SaveContainer(container, false) != SaveResult::Ok)
        return 1;
    const double indexMs = bench::MillisecondsSince(start);
    std::printf("container of %lld MiB: full rewrite %.0f ms, index-only rewrite after a rename %.1f ms\n",
                static_cast<long long>(mib), fullMs, indexMs);
    return 0;
}
