#include "transfer/Extraction.h"

#include "codecs/ItemPipeline.h"
#include "codecs/ParallelDeflate.h"
#include "protection/FolderRestriction.h"
#include "transfer/ExtractionPath.h"
#include "transfer/Folders.h"
#include "transfer/UnpackQueue.h"

#include <cstdint>
#include <optional>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr char kOutsideText[] = "Not extracted: the path leaves the destination folder";

// The busy state and the extracting flag last exactly as long as a run, however it ends.
class TExtractionRun {
public:
    explicit TExtractionRun(TContainer& container) : FContainer(container)
    {
        FContainer.Host.SetBusy(true, true);
        FContainer.Extracting = true;
    }
    ~TExtractionRun()
    {
        FContainer.Extracting = false;
        FContainer.Host.SetBusy(false, false);
    }
    TExtractionRun(const TExtractionRun&) = delete;
    TExtractionRun& operator=(const TExtractionRun&) = delete;

private:
    TContainer& FContainer;
};

struct TWalk {
    TContainer& Container;
    const TTreeNode* Root;
    fs::path Destination;  // canonical
    TExtractionResult Result;
    // Files within the in-memory limit are decompressed and written here while the walk goes on;
    // their results are reported in catalogue order.
    TUnpackQueue Queue {CompressionThreads()};
};

enum class TStep { Next, SkipSubtree, Stop };

// Extraction words a CRC mismatch as its own warning: the file is kept and counted.
std::string ExtractionMessage(UnpackResult result)
{
    return result == UnpackResult::CrcError ? "CRC error on file" : ResultMessage(result);
}

int ExtractionIcon(UnpackResult result)
{
    return result == UnpackResult::CrcError ? liWarning : ResultIcon(result);
}

bool Delivered(UnpackResult result)
{
    return result == UnpackResult::Ok || result == UnpackResult::CrcError;
}

int CountFiles(const std::vector<TTreeNode*>& range)
{
    int files = 0;
    for (const TTreeNode* node : range)
        files += node->IsFolder() ? 0 : 1;
    return files;
}


void ReportFile(TWalk& walk, const TTreeNode& node, const fs::path& path, UnpackResult result)
{
    if (Delivered(result))
        ++walk.Result.Extracted;
    else
        walk.Result.Failed.push_back(path);
    if (result != UnpackResult::Ok)
        walk.Container.Host.Display(ExtractionMessage(result), node.Text(), ExtractionIcon(result),
                                    result == UnpackResult::CrcError, true);
}

void ReportDone(TWalk& walk, const TUnpackDone& done)
{
    ReportFile(walk, *done.Node, done.Destination, done.Result);
}

void ReportFinished(TWalk& walk)
{
    while (const std::optional<TUnpackDone> done = walk.Queue.TakeFinished())
        ReportDone(walk, *done);
}

// Everything given to the queue is reported before anything that follows it happens.
void ReportAll(TWalk& walk)
{
    while (!walk.Queue.Empty())
        ReportDone(walk, walk.Queue.TakeOldest());
}

// A closed restricted folder is opened with its password or left out with its subtree.
bool Opened(TWalk& walk, TTreeNode& node)
{
    if (!IsRestrictedFolder(node) || node.Expanded)
        return true;
    ReportAll(walk);
    const bool opened = OpenRestrictedFolder(walk.Container, node);
    walk.Container.Host.ProcessMessages();
    if (!opened)
        walk.Container.Host.Display("This folder has not been extracted", node.Text(), liWarning, true, true);
    return opened;
}

bool MadeFolder(TWalk& walk, const fs::path& folder)
{
    const std::error_code error = ForceFolders(folder, walk.Destination);
    if (!error)
        return true;
    ReportAll(walk);
    walk.Result.Error = "Cannot create folder \"" + folder.string() + "\": " + error.message();
    walk.Container.Host.Display("Cannot create folder", folder.string(), liError, true, true);
    walk.Container.Host.SetStatusText(walk.Result.Error);
    return false;
}

void ReportChangedName(TWalk& walk, const TTreeNode& node)
{
    const std::string safe = SafeItemName(node.Text());
    if (safe == node.Text())
        return;
    ReportAll(walk);
    walk.Container.Host.Display("Name changed to \"" + safe + "\" for extraction", VisibleName(node.Text()),
                                liWarning, false, true);
}

// A file within the in-memory limit is read and decrypted here and finished by the queue.
void GiveToQueue(TWalk& walk, TTreeNode& node, const fs::path& path)
{
    TContainer& container = walk.Container;
    // Questions and the files that follow them come after what went before; so does a second
    // file for the same destination, which replaces the first.
    if (AsksForPassword(container, node.Item()) || walk.Queue.Writes(path))
        ReportAll(walk);
    TPreparedUnpack prepared = PrepareInMemoryUnpack(container, node.Item());
    if (prepared.Result != UnpackResult::Ok) {
        ReportAll(walk);
        ReportFile(walk, node, path, prepared.Result);
        return;
    }
    while (walk.Queue.Full())
        ReportDone(walk, walk.Queue.TakeOldest());
    walk.Queue.Give(&node, std::move(prepared), path, true, node.Item().Size);
    ReportFinished(walk);
}

// Files on their way count as extracted: most of them will be.
int PercentDone(const TWalk& walk)
{
    const int64_t done = walk.Result.Extracted + static_cast<int64_t>(walk.Queue.Count());
    return static_cast<int>(done * 100 / walk.Result.Total);
}

void ExtractFile(TWalk& walk, TTreeNode& node, const fs::path& path)
{
    THost& host = walk.Container.Host;
    host.SetStatusText(std::to_string(PercentDone(walk)) + "% Extracting file \"" + node.Text() + "\"");
    host.ProcessMessages();
    if (WithinInMemoryLimit(node.Item().Size)) {
        GiveToQueue(walk, node, path);
        return;
    }
    ReportAll(walk);
    ReportFile(walk, node, path, UnpackItem(walk.Container, node.Item(), path, true));
}

TStep ExtractNode(TWalk& walk, TTreeNode& node)
{
    if (!Opened(walk, node))
        return TStep::SkipSubtree;
    ReportChangedName(walk, node);
    const fs::path path = ExtractionPath(walk.Destination, walk.Root, node);
    if (!StaysInside(walk.Destination, node.IsFolder() ? path : path.parent_path())) {
        ReportAll(walk);
        walk.Container.Host.Display(kOutsideText, VisibleName(node.Text()), liError, false, true);
        walk.Result.Failed.push_back(path);
        return node.IsFolder() ? TStep::SkipSubtree : TStep::Next;
    }
    if (node.IsFolder()) {
        // A file of the same name on its way is written first, as one after the other would.
        if (walk.Queue.Writes(path))
            ReportAll(walk);
        return MadeFolder(walk, path) ? TStep::Next : TStep::Stop;
    }
    ExtractFile(walk, node, path);
    return TStep::Next;
}

// Each node before its children; false when the run ended on an error.
bool WalkRange(TWalk& walk, const std::vector<TTreeNode*>& range)
{
    for (size_t i = 0; i < range.size(); ++i) {
        if (walk.Container.Host.CancelRequested())
            return true;
        switch (ExtractNode(walk, *range[i])) {
        case TStep::Next:
            break;
        case TStep::SkipSubtree:
            i += static_cast<size_t>(SubtreeCount(range[i]) - 1);
            break;
        case TStep::Stop:
            return false;
        }
    }
    return true;
}

void ReportEnd(THost& host, const TExtractionResult& result)
{
    if (result.Cancelled) {
        host.SetStatusText("Operation cancelled.");
        host.Display("Operation cancelled.", "", liWarning, false, true);
        return;
    }
    if (result.Total == 1)
        host.SetStatusText(result.Extracted == 1 ? "File extracted." : "");
    else
        host.SetStatusText(std::to_string(result.Extracted) + " of " + std::to_string(result.Total) +
                           " files successfully extracted.");
    if (result.Extracted > 0)
        host.Display("Operation completed", "", liSuccess, false, false);
}

}  // namespace

TExtractionResult ExtractItems(TContainer& container, TTreeNode* root, const fs::path& destination)
{
    std::error_code error;
    if (container.Tree.Empty() || !fs::is_directory(destination, error))
        return {};
    TWalk walk {container, root, fs::canonical(destination, error), {}};
    if (error)
        return {};
    container.Host.Display("Extracting", root ? root->Text() : "All files", liInformation, false, false);
    const TExtractionRun run(container);
    const std::vector<TTreeNode*> range = root ? SubtreeNodes(root) : container.Tree.Nodes();
    walk.Result.Total = CountFiles(range);
    const bool walked = WalkRange(walk, range);
    ReportAll(walk);
    if (walked) {
        walk.Result.Cancelled = container.Host.CancelRequested();
        ReportEnd(container.Host, walk.Result);
    }
    return walk.Result;
}

}  // namespace pyxa
