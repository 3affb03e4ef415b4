#pragma once
// Putting an unpacked file in place. The destination name never shows a partial file: the output
// is completed under a scratch name and then renamed.

#include "support/DateTime.h"
#include "support/Stream.h"

#include <filesystem>
#include <optional>

namespace pyxa {

// Moves a finished file to dest unless a file or anything else exists there. Within one file
// system this is a rename that refuses an existing name; across file systems the file is first
// copied beside dest with its last-write time and flushed, then renamed the same way. The finished
// file is gone only when the move succeeded.
bool MoveIntoPlace(const std::filesystem::path& finished, const std::filesystem::path& dest);

// Writes data under a scratch name beside dest, gives it lastWrite when one is given, and renames
// it over dest. An existing dest is replaced only when it is a file its owner may write, or a
// link (the link goes, its target stays); folders and other entries are kept.
bool WriteIntoPlace(const TMemoryStream& data, const std::filesystem::path& dest,
                    std::optional<TDateTime> lastWrite);

}  // namespace pyxa
