#include "transfer/AddItems.h"

#include "codecs/ItemPipeline.h"
#include "editing/NameRules.h"
#include "editing/Sort.h"
#include "support/FileUtil.h"
#include "support/SizeText.h"

#include <unordered_map>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TItemInfo> NewFileItem(const TContainer& container, TTreeNode* target, const fs::path& file)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = UniqueCopyName(container.Tree, file.filename().string(), target);
    item->Size = FileSizeOf(file);
    item->Added = NowDateTimeZ();
    item->Original = TDateTimeZ {FileDateOf(file), LocalUtcOffset(), true};
    return item;
}

void AddFilesOfFolder(TContainer& container, TTreeNode* folderNode, const fs::path& folder, TAddCounters& counters)
{
    const std::vector<fs::path> files = ListFolder(folder, false);
    for (const fs::path& file : files) {
        if (TTreeNode* node = AddFileItem(container, folderNode, file)) {
            ++counters.FilesAdded;
            counters.TotalSize += node->Item().Size;
        }
    }
    counters.FilesFound += static_cast<int>(files.size());
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
    if (!FileExists(file))
        return nullptr;
    THost& host = container.Host;
    host.SetStatusText("Adding \"" + file.filename().string() + "\", please wait...");
    host.ProcessMessages();
    std::unique_ptr<TItemInfo> item = NewFileItem(container, target, file);
    const PackResult packed = WithinInMemoryLimit(item->Size) ? PackItemInMemory(container, file, "", item.get())
                                                               : PackItemViaFiles(container, file, "", item.get());
    if (packed != PackResult::Ok) {
        host.Display(ResultMessage(packed), item->Name, ResultIcon(packed), false, true);
        return nullptr;
    }
    item->Index = -1;
    return container.Tree.Add(target, std::move(item));
}

TTreeNode* AddFolderItems(TContainer& container, TTreeNode* target, const fs::path& source, TAddCounters& counters)
{
    counters = TAddCounters {};
    std::error_code error;
    if (!fs::is_directory(source, error))
        return nullptr;
    const fs::path folder = source.has_filename() ? source : source.parent_path();
    TTreeNode* top = AddFolderNode(container.Tree, target, CleanItemName(folder.filename().string()));
    AddFilesOfFolder(container, top, folder, counters);

    // Disk folder of every folder node of the new subtree; nodes are visited in tree order,
    // including those made during the walk, so a folder's files come before its subfolders.
    std::unordered_map<const TTreeNode*, fs::path> diskFolders {{top, folder}};
    std::vector<TTreeNode*> pending {top};
    while (!pending.empty() && !container.Host.CancelRequested()) {
        TTreeNode* node = pending.back();
        pending.pop_back();
        std::vector<TTreeNode*> made;
        for (const fs::path& subfolder : ListFolder(diskFolders[node], true)) {
            TTreeNode* child = AddFolderNode(container.Tree, node, CleanItemName(subfolder.filename().string()));
            diskFolders[child] = subfolder;
            AddFilesOfFolder(container, child, subfolder, counters);
            made.push_back(child);
            if (container.Host.CancelRequested())
                break;
        }
        pending.insert(pending.end(), made.rbegin(), made.rend());
    }
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
    for (const fs::path& file : files) {
        last = AddFileItem(container, target, file);
        if (last) {
            ++counters.FilesAdded;
            counters.TotalSize += last->Item().Size;
        }
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
