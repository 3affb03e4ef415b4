#pragma once
// Secure deletion of one file: its content is overwritten three times with random patterns, each
// pass flushed to the medium, before the file is deleted.

#include <cstdint>
#include <filesystem>
#include <functional>

namespace pyxa {

inline constexpr int kWipePasses = 3;
inline constexpr int64_t kWipePieceSize = 4096;

// Called after each written piece with the pass (1 to 3) and the bytes written; front ends let
// their message queue run here so that the window stays responsive during long wipes.
using TWipeProgress = std::function<void(int pass, int64_t written)>;

// Overwrites and deletes a regular file; true only when it was overwritten and then deleted.
// Anything but a regular file is refused: a symbolic link is neither followed nor removed.
// A file that cannot be opened for writing, or that another holder has locked with flock, keeps
// its content (a cleared read-only bit stays cleared). After a failed write or flush the file stays
// under its name, partly overwritten.
bool WipeFile(const std::filesystem::path& path, const TWipeProgress& progress = {});

}  // namespace pyxa
