#include "codecs/WipeCommands.h"

#include "codecs/Wipe.h"
#include "support/FileUtil.h"

#include <string>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

bool Confirmed(THost& host, const std::string& instruction)
{
    if (host.TaskMessageBox(instruction, "Are you sure you want to continue?", miWarning,
                            mbYes | mbNo | mbCancel) == mrYes)
        return true;
    host.SetStatusText("Operation cancelled.");
    return false;
}

// The same file on disk, whatever path leads to it (another spelling, a link), so that the open
// container cannot be wiped by choosing it under another name.
bool IsCurrentContainer(const fs::path& path, const fs::path& currentFile)
{
    std::error_code error;
    return !currentFile.empty() && fs::equivalent(path, currentFile, error);
}

TWipeProgress MessageLoopProgress(THost& host)
{
    return [&host](int, int64_t) { host.ProcessMessages(); };
}

void ReportWipedCount(THost& host, int wiped, size_t chosen)
{
    host.SetStatusText(std::to_string(wiped) + " of " + std::to_string(chosen) + " file/s securely deleted.");
}

// True when the file was wiped; the open container is refused with a box.
bool WipeChosenFile(THost& host, const fs::path& path, const fs::path& currentFile)
{
    if (IsCurrentContainer(path, currentFile)) {
        host.TaskMessageBox("You cannot wipe the current Pyxa file using this option.",
                            "Please use the option provided for that task.", miWarning, mbOK);
        return false;
    }
    host.SetStatusText("Wiping file \"" + NameWithoutFolder(path) + "\"...");
    host.ProcessMessages();
    return WipeFile(path, MessageLoopProgress(host));
}

}  // namespace

TWipeRun WipeChosenFiles(THost& host, const std::vector<fs::path>& chosen, const fs::path& currentFile)
{
    TWipeRun run;
    if (chosen.empty()) {
        host.SetStatusText("Operation cancelled.");
        run.Cancelled = true;
        return run;
    }
    if (!Confirmed(host, "Selected file/s will be securely deleted...")) {
        run.Cancelled = true;
        return run;
    }
    for (const fs::path& path : chosen) {
        if (FileExists(path) && WipeChosenFile(host, path, currentFile))
            ++run.Wiped;
    }
    ReportWipedCount(host, run.Wiped, chosen.size());
    return run;
}

bool WipeCurrentPyxaFile(TContainer& container)
{
    THost& host = container.Host;
    if (!Confirmed(host, "This Pyxa file will be securely deleted and all files will be lost..."))
        return false;
    host.SetBusy(true, false);
    const bool failed = FileExists(container.FileName) && !WipeFile(container.FileName, MessageLoopProgress(host));
    // The window may stay open (the user can refuse the close), so it must not stay busy.
    host.SetBusy(false, false);
    if (failed) {
        // Closing now would look like success while the container is still on disk.
        ReportWipedCount(host, 0, 1);
        return false;
    }
    return true;
}

bool DeleteCurrentPyxaFile(TContainer& container)
{
    if (!Confirmed(container.Host, "This Pyxa file will be deleted and all files will be lost..."))
        return false;
    if (FileExists(container.FileName)) {
        // A link is removed, not its target.
        std::error_code ignored;
        fs::remove(container.FileName, ignored);
    }
    return true;
}

}  // namespace pyxa
