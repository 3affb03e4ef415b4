#pragma once
// The engine half of the commands that delete or wipe the current container and of wiping files
// the user chose. The front end shows the file dialog, refreshes file-manager windows and closes
// its window when told to.

#include "container/Container.h"
#include "support/Host.h"

#include <filesystem>
#include <vector>

namespace pyxa {

struct TWipeRun {
    bool Cancelled = false;  // the user did not confirm
    int Wiped = 0;
};

// "Wipe securely another file...": chosen is the dialog's selection in its order, empty when the
// dialog was cancelled. The open container's file (currentFile, empty when none) is never wiped
// here, under whatever path it was chosen.
TWipeRun WipeChosenFiles(THost& host, const std::vector<std::filesystem::path>& chosen,
                         const std::filesystem::path& currentFile);

// "Wipe securely current Pyxa file": true when the front end closes its window.
bool WipeCurrentPyxaFile(TContainer& container);
// "Delete current Pyxa file": true when the front end closes its window.
bool DeleteCurrentPyxaFile(TContainer& container);

}  // namespace pyxa
