#include "container/RenameContainerFile.h"

#include "codecs/ItemOutput.h"

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRenamedText = "Pyxa file successfully renamed.";

// A name that stays in the folder: no separator, no NUL, not empty and not "." or "..".
bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::string WithOldExtension(const std::string& newName, const fs::path& oldName)
{
    if (oldName.has_extension() && !fs::path(newName).has_extension())
        return newName + oldName.extension().string();
    return newName;
}

}  // namespace

TRenameFileResult RenameContainerFile(TContainer& container, const std::string& newName)
{
    const fs::path oldPath = container.FileName;
    const std::string oldName = oldPath.filename().string();
    if (oldPath.empty() || newName == oldName)
        return TRenameFileResult::Unchanged;
    if (!IsPlainFileName(newName))
        return TRenameFileResult::Failed;
    // "name" for "name.pyxa" means the same file: nothing to move.
    const std::string finalName = WithOldExtension(newName, oldPath.filename());
    if (finalName == oldName)
        return TRenameFileResult::Unchanged;
    const fs::path newPath = oldPath.parent_path() / finalName;
    if (!MoveIntoPlace(oldPath, newPath))
        return TRenameFileResult::Failed;
    container.FileName = newPath;
    container.Host.FileNameChanged();
    container.Host.Display(kRenamedText, "from \"" + oldName + "\" to \"" + finalName + "\"", liSuccess, false, false);
    container.Host.SetStatusText(kRenamedText);
    return TRenameFileResult::Renamed;
}

}  // namespace pyxa
