#pragma once
// Adding disk files and folders to the catalogue: each file is packed at once into a temporary
// file; the container on disk is untouched until the next save.

#include "container/Container.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace pyxa {

struct TAddCounters {
    int FilesFound = 0;
    int FilesAdded = 0;
    int64_t TotalSize = 0;
};

// Adds one disk file under target (the top level when null); null when it is not a file or
// could not be packed (the failure is logged).
TTreeNode* AddFileItem(TContainer& container, TTreeNode* target, const std::filesystem::path& file);
// Adds a disk folder with its whole tree as a new folder under target; null when the source is
// not a folder. Links to folders are not followed; links to files are stored as the file.
TTreeNode* AddFolderItems(TContainer& container, TTreeNode* target, const std::filesystem::path& source,
                          TAddCounters& counters);

// The "Add file/s" work: marks the container, logs, adds each file, reports the totals.
// Returns the node added last (null when none).
TTreeNode* AddFiles(TContainer& container, TTreeNode* target, const std::vector<std::filesystem::path>& files,
                    TAddCounters& counters);
// The "Add folders" work for one chosen folder.
TTreeNode* AddFolder(TContainer& container, TTreeNode* target, const std::filesystem::path& folder,
                     TAddCounters& counters);

// Full paths of the entries directly in a folder: its folders (not links to folders) or its
// files (links to files included), in the order the file system gives them.
std::vector<std::filesystem::path> ListFolder(const std::filesystem::path& folder, bool wantSubfolders);

}  // namespace pyxa
