#pragma once
// Saving a container: a full rewrite beside the target renamed into place, or, when only the
// catalogue changed, a rewrite of the index block that never leaves the file without an index.

#include "container/Container.h"
#include "support/Results.h"

#include <filesystem>
#include <functional>

namespace pyxa {

// Called after each flushed write step of a save, with the step's name. A test seam: a hook that
// throws stops the save right there, as a crash would.
using TSaveStepHook = std::function<void(const char* step)>;

// Saves the catalogue; saveAs always asks for the target and rewrites fully.
SaveResult SaveContainer(TContainer& container, bool saveAs, const TSaveStepHook& afterStep = {});

// The name with ".pyxa" appended unless its extension is exactly ".pyxa".
std::filesystem::path WithPyxaExtension(const std::filesystem::path& name);

}  // namespace pyxa
