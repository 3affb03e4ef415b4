#pragma once
// Making the folders of a path.

#include <filesystem>
#include <system_error>

namespace pyxa {

// Creates every missing folder of path, outermost first; folders that exist are kept. A component
// that exists must be a real folder: a symbolic link is refused, not followed, so that a link
// planted in a tree being filled cannot lead the folders made below it elsewhere. Callers pass a
// canonical path. Returns the error of the component that failed; empty on success.
// existing: a real folder that path lies in, whose own components need no making (empty: none).
std::error_code ForceFolders(const std::filesystem::path& path, const std::filesystem::path& existing = {});

}  // namespace pyxa
