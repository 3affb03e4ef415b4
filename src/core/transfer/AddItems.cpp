#include "transfer/AddItems.h"

#include "codecs/ItemPipeline.h"
#include "codecs/ParallelDeflate.h"
#include "editing/NameRules.h"
#include "editing/Sort.h"
#include "support/FileUtil.h"
#include "support/SizeText.h"
#include "transfer/PackQueue.h"


namespace pyxa {

namespace fs = std::filesystem;

namespace {

// One step of adding a disk folder, in the order the catalogue is built: a folder to create
// (step 0 is the top folder) or a file to add, under the folder of step Parent.
struct TAddStep {
    bool IsFolder = false;
    int Parent = -1;
    fs::path Path;
};

void AddFileSteps(std::vector<TAddStep>& steps, int folderStep)
{
    for (fs::path& file : ListFolder(steps[static_cast<size_t>(folderStep)].Path, false))
        steps.push_back({false, folderStep, std::move(file)});
}

// The whole disk tree in the order it enters the catalogue: a folder's files right after the
// folder, the folders of a node's level created when that node is visited, nodes visited in
// tree order. Links to folders are not followed, so the walk cannot loop.
std::vector<TAddStep> PlanFolder(const fs::path& folder)
{
    std::vector<TAddStep> steps {{true, -1, folder}};
    AddFileSteps(steps, 0);
    std::vector<int> pending {0};
    while (!pending.empty()) {
        const int visited = pending.back();
        pending.pop_back();
        std::vector<int> made;
        for (fs::path& subfolder : ListFolder(steps[static_cast<size_t>(visited)].Path, true)) {
            const int step = static_cast<int>(steps.size());
            steps.push_back({true, visited, std::move(subfolder)});
            AddFileSteps(steps, step);
            made.push_back(step);
        }
        pending.insert(pending.end(), made.rbegin(), made.rend());
    }
    return steps;
}

std::vector<fs::path> FilesOf(const std::vector<TAddStep>& steps)
{
    std::vector<fs::path> files;
    for (const TAddStep& step : steps) {
        if (!step.IsFolder)
            files.push_back(step.Path);
    }
    return files;
}

// Puts a packed file into the catalogue under target, or logs why it could not be packed.
TTreeNode* AddPackedFile(TContainer& container, TTreeNode* target, TPackedFile packed)
{
    if (!packed.WasFile)
        return nullptr;
    THost& host = container.Host;
    TItemInfo& item = *packed.Item;
    host.SetStatusText("Adding \"" + item.Name + "\", please wait...");
    host.ProcessMessages();
    item.Name = UniqueCopyName(container.Tree, item.Name, target);
    item.Added = NowDateTimeZ();
    if (packed.Result != PackResult::Ok) {
        host.Display(ResultMessage(packed.Result), item.Name, ResultIcon(packed.Result), false, true);
        return nullptr;
    }
    item.Index = -1;
    return container.Tree.Add(target, std::move(packed.Item));
}

void Count(TAddCounters& counters, const TTreeNode* added)
{
    if (added) {
        ++counters.FilesAdded;
        counters.TotalSize += added->Item().Size;
    }
}

void ReportCancelled(THost& host)
{
    host.SetStatusText("Operation cancelled.");
    host.Display("Operation cancelled.", "", liWarning, false, true);
}

std::string OneFileAddedText(const TAddCounters& counters)
{
    return "1 file added. File size: " + SizeText(counters.TotalSize, false);
}

}  // namespace

std::vector<fs::path> ListFolder(const fs::path& folder, bool wantSubfolders)
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        const fs::file_status own = it->symlink_status(statusError);
        if (wantSubfolders) {
            if (fs::is_directory(own))
                entries.push_back(it->path());
        } else if (fs::is_regular_file(it->status(statusError)) && !fs::is_directory(own)) {
            entries.push_back(it->path());
        }
    }
    return entries;
}

TTreeNode* AddFileItem(TContainer& container, TTreeNode* target, const fs::path& file)
{
    return AddPackedFile(container, target, PackDiskFile(container, file));
}

TTreeNode* AddFolderItems(TContainer& container, TTreeNode* target, const fs::path& source, TAddCounters& counters)
{
    counters = TAddCounters {};
    std::error_code error;
    if (!fs::is_directory(source, error))
        return nullptr;
    const fs::path folder = source.has_filename() ? source : source.parent_path();
    const std::vector<TAddStep> steps = PlanFolder(folder);
    TPackQueue queue(container, FilesOf(steps), CompressionThreads());

    std::vector<TTreeNode*> nodes(steps.size(), nullptr);
    nodes[0] = AddFolderNode(container.Tree, target, CleanItemName(folder.filename().string()));
    for (size_t i = 1; i < steps.size(); ++i) {
        const TAddStep& step = steps[i];
        TTreeNode* parent = nodes[static_cast<size_t>(step.Parent)];
        if (step.IsFolder) {
            // The files of one folder go in without a cancel check between them.
            if (container.Host.CancelRequested())
                break;
            nodes[i] = AddFolderNode(container.Tree, parent, CleanItemName(step.Path.filename().string()));
        } else {
            ++counters.FilesFound;
            Count(counters, AddPackedFile(container, parent, queue.Next()));
        }
    }
    TTreeNode* top = nodes[0];
    if (folder.filename().empty())
        top->Item().Name = "New Folder";
    top->Item().Name = UniqueSiblingName(container.Tree, target, top->Item().Name, top);
    SortSubtree(container.Tree, top, container.Host);
    return top;
}

TTreeNode* AddFiles(TContainer& container, TTreeNode* target, const std::vector<fs::path>& files,
                    TAddCounters& counters)
{
    THost& host = container.Host;
    counters = TAddCounters {};
    counters.FilesFound = static_cast<int>(files.size());
    container.SetModified(true, true);
    host.Display(files.size() == 1 ? "Adding file" : "Adding files", "", liInformation, false, false);
    host.SetBusy(true, true);
    TTreeNode* last = nullptr;
    TPackQueue queue(container, files, CompressionThreads());
    for (size_t i = 0; i < files.size(); ++i) {
        last = AddPackedFile(container, target, queue.Next());
        Count(counters, last);
        if (host.CancelRequested())
            break;
    }
    if (host.CancelRequested()) {
        ReportCancelled(host);
    } else if (counters.FilesAdded >= 1) {
        host.SetStatusText(counters.FilesAdded == 1 ? OneFileAddedText(counters)
                                                    : std::to_string(counters.FilesAdded) + " of " +
                                                          std::to_string(files.size()) +
                                                          " files successfully added. Total size: " +
                                                          SizeText(counters.TotalSize, false));
        host.Display("Operation completed", "", liSuccess, false, false);
    } else {
        host.SetStatusText("No files added.");
    }
    host.SetBusy(false, false);
    return last;
}

TTreeNode* AddFolder(TContainer& container, TTreeNode* target, const fs::path& folder, TAddCounters& counters)
{
    THost& host = container.Host;
    container.SetModified(true, true);
    host.Display("Adding folders/s", "", liInformation, false, false);
    host.SetBusy(true, true);
    TTreeNode* top = AddFolderItems(container, target, folder, counters);
    if (host.CancelRequested()) {
        ReportCancelled(host);
    } else if (counters.FilesFound == 0 || (counters.FilesFound == 1 && counters.FilesAdded != 1)) {
        host.SetStatusText("No files added.");
    } else {
        host.SetStatusText(counters.FilesFound == 1 ? OneFileAddedText(counters)
                                                    : std::to_string(counters.FilesAdded) + " of " +
                                                          std::to_string(counters.FilesFound) +
                                                          " files added. Total size: " +
                                                          SizeText(counters.TotalSize, false));
    }
    if (!host.CancelRequested() && counters.FilesFound >= 1)
        host.Display("Operation completed", "", liSuccess, false, false);
    host.SetBusy(false, false);
    return top;
}

}  // namespace pyxa
