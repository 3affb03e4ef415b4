#pragma once
// Opening a container: the index block is copied out, decompressed, checked and loaded.

#include "container/Container.h"
#include "support/Results.h"

#include <filesystem>

namespace pyxa {

// Discards the current catalogue and reads the container's index into it.
OpenResult ReadContainer(TContainer& container, const std::filesystem::path& fileName);
// Opens the file named in FileNameTmp, reporting progress and the outcome through the host.
OpenResult LoadContainer(TContainer& container);

}  // namespace pyxa
