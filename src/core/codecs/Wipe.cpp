#include "codecs/Wipe.h"

#include "support/FileUtil.h"
#include "support/Stream.h"

#include <algorithm>
#include <array>
#include <random>
#include <sys/stat.h>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

using TPattern = std::array<uint8_t, kWipePieceSize>;

void FillPattern(TPattern& pattern, std::mt19937& generator)
{
    std::uniform_int_distribution<int> byte(0, 255);
    for (uint8_t& value : pattern)
        value = static_cast<uint8_t>(byte(generator));
}

// The path itself must be a regular file: a link would lead the passes to its target.
bool IsRegularFileItself(const fs::path& path)
{
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// One pass over the size the file has at its start: the pattern repeated in pieces, so the file
// never grows.
bool OverwritePass(TFileStream& file, const TPattern& pattern, int pass, const TWipeProgress& progress)
{
    int64_t remaining = file.Size();
    if (remaining < 0 || !file.Seek(0))
        return false;
    while (remaining > 0) {
        const int64_t piece = std::min(remaining, kWipePieceSize);
        if (!file.Write(pattern.data(), piece))
            return false;
        if (progress)
            progress(pass, piece);
        remaining -= piece;
    }
    // Each pass reaches the medium before the next one starts.
    return file.Sync();
}

bool Overwrite(const fs::path& path, const TWipeProgress& progress)
{
    TFileStream file;
    if (!file.Open(path, TFileMode::ReadWrite) || !file.TryLockExclusive())
        return false;
    std::mt19937 generator {std::random_device {}()};
    TPattern pattern {};
    for (int pass = 1; pass <= kWipePasses; ++pass) {
        FillPattern(pattern, generator);
        if (!OverwritePass(file, pattern, pass, progress))
            return false;
    }
    return file.Close();
}

}  // namespace

bool WipeFile(const fs::path& path, const TWipeProgress& progress)
{
    if (!IsRegularFileItself(path))
        return false;
    ClearReadOnly(path);
    if (!Overwrite(path, progress))
        return false;
    std::error_code error;
    return fs::remove(path, error);
}

}  // namespace pyxa
