// Generates a container whose index holds many items in nested folders, then measures how long
// opening it takes and how much memory the opening process needs at its peak.
//   bench_open_index [ITEMS]   (default 100000)

#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "container/IndexDocument.h"
#include "container/Layout.h"
#include "container/OpenContainer.h"
#include "helpers/FakeHost.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pyxa;

namespace {

// 10 top folders, each with 10 subfolders of files: items spread over two levels of nesting.
void BuildCatalogue(TCatalogue& tree, int items)
{
    int made = 0;
    for (int top = 0; made < items; ++top) {
        auto folder = std::make_unique<TItemInfo>();
        folder->Name = "Folder " + std::to_string(top);
        folder->IsFolder = true;
        folder->Added = folder->Original = NowDateTimeZ();
        TTreeNode* topNode = tree.Add(nullptr, std::move(folder));
        ++made;
        for (int sub = 0; sub < 10 && made < items; ++sub) {
            auto subFolder = std::make_unique<TItemInfo>();
            subFolder->Name = "Sub " + std::to_string(sub);
            subFolder->IsFolder = true;
            TTreeNode* subNode = tree.Add(topNode, std::move(subFolder));
            ++made;
            for (int f = 0; f < 1000 && made < items; ++f, ++made) {
                auto file = std::make_unique<TItemInfo>();
                file->Name = "document " + std::to_string(f) + ".txt";
                file->Size = 1000 + f;
                file->Added = file->Original = NowDateTimeZ();
                file->Index = 13 + f;
                file->Crc = 0x9E3779B9u * static_cast<uint32_t>(made);
                tree.Add(subNode, std::move(file));
            }
        }
    }
}

void WriteContainer(const fs::path& archive, const fs::path& scratch, int items)
{
    TCatalogue tree;
    BuildCatalogue(tree, items);
    const fs::path document = scratch / "index.xml";
    const fs::path compressed = scratch / "index.z";
    if (!WriteIndexDocument(tree, false, document) || CompressFile(document, compressed) != CompressFileResult::Ok)
        std::exit(1);
    TFileStream out(archive, TFileMode::Create);
    TFileStream in(compressed, TFileMode::Read);
    TIndexBlockHeader header {static_cast<uint32_t>(in.Size()), *FileCrc32(document), 0};
    if (!WriteSignature(out, TBlockKind::Header) || !WriteInt64(out, kHeaderSize) ||
        !WriteIndexBlockHeader(out, header) || in.CopyTo(out, -1) < 0)
        std::exit(1);
    std::printf("generated %d items, index %lld bytes compressed from %lld\n", items,
                static_cast<long long>(in.Size()), static_cast<long long>(fs::file_size(document)));
}

long PeakRssKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    const fs::path scratch = fs::temp_directory_path() / ("pyxa-bench-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    const fs::path archive = scratch / "big.pyxa";

    // Generate in a child so that the parent's peak memory is the opening's alone.
    const pid_t child = fork();
    if (child == 0) {
        WriteContainer(archive, scratch, items);
        std::exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;

    test::FakeHost host;
    TContainer container(host);
    container.WorkingFolder.Create(scratch);
    const long before = PeakRssKiB();
    const auto start = std::chrono::steady_clock::now();
    const OpenResult result = ReadContainer(container, archive);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const long after = PeakRssKiB();
    std::printf("open: %s, %d nodes in %.1f ms; peak RSS %.1f MiB (%.1f MiB before opening)\n",
                ResultMessage(result).c_str(), container.Tree.Count(),
                std::chrono::duration<double, std::milli>(elapsed).count(), after / 1024.0, before / 1024.0);
    container.CloseCatalogue(false);
    fs::remove_all(scratch);
    return result == OpenResult::Ok ? 0 : 1;
}
