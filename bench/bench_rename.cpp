// Renames the first top-level item of a container and saves: the index-only rewrite as a user
// meets it, opening included.
//   bench_rename ARCHIVE

#include "BenchUtil.h"
#include "container/OpenContainer.h"
#include "container/SaveContainer.h"
#include "helpers/FakeHost.h"

#include <cstdio>

using namespace pyxa;

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    bench::ScratchFolder scratch("pyxa-bench-rename");
    test::FakeHost host;
    TContainer container(host);
    container.WorkingFolder.Create(scratch.Path());
    const auto start = std::chrono::steady_clock::now();
    if (ReadContainer(container, argv[1]) != OpenResult::Ok || container.Tree.Empty())
        return 1;
    const double openMs = bench::MillisecondsSince(start);
    container.Tree.TopLevel(0)->Item().Name += " renamed";
    container.SetModified(true, false);
    const auto saveStart = std::chrono::steady_clock::now();
    if (SaveContainer(container, false) != SaveResult::Ok)
        return 1;
    std::printf("open %.1f ms, rename and index-only save %.1f ms\n", openMs, bench::MillisecondsSince(saveStart));
    return 0;
}
