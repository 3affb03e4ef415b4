#pragma once
// "Rename current Pyxa file": the container file gets a new name in its own folder. The catalogue
// and its modification marks are not touched.

#include "container/Container.h"

#include <string>

namespace pyxa {

enum class TRenameFileResult {
    Unchanged,  // the same name: nothing happened
    Renamed,
    Failed,     // an existing file of that name, a name that is not a plain file name, or the move failed
};

// newName: the file name without folder, as the user typed it. When the old name has an extension
// and the new one has none, the old extension is kept. On success FileName follows and the rename
// is logged; a failure changes nothing and reports nothing (the front end shows its box).
TRenameFileResult RenameContainerFile(TContainer& container, const std::string& newName);

}  // namespace pyxa
