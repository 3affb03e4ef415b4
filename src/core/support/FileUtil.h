#pragma once
// Small file-system helpers shared by the engine.

#include "support/DateTime.h"

#include <cstdint>
#include <filesystem>

namespace pyxa {

// True when a regular file (or a link to one) of that name exists.
bool FileExists(const std::filesystem::path& path);
// 64-bit size of a file; -1 when it cannot be found.
int64_t FileSizeOf(const std::filesystem::path& path);
// Local last-modification date-time of a file, to the second; -1 when it cannot be found.
TDateTime FileDateOf(const std::filesystem::path& path);
// Sets only the file's last-write time to a local date-time; false when the date cannot be
// converted or the time cannot be set.
bool SetFileDate(const std::filesystem::path& path, TDateTime date);
// Gives the owner write permission back when the file has none.
void ClearReadOnly(const std::filesystem::path& path);
// Deletes a file when it exists; failures are ignored.
void DeleteFileIfExists(const std::filesystem::path& path);
// The file's name without its folder, as UTF-8.
std::string NameWithoutFolder(const std::filesystem::path& path);

}  // namespace pyxa
