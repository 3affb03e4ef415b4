#include "codecs/ItemOutput.h"

#include "support/FileUtil.h"
#include "support/WorkingFolder.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

enum class TRenameOutcome {
    Done,
    Refused,
    OtherFileSystem,
};

// A rename that fails when dest exists. A file system without such a rename gets a hard link,
// which fails on an existing name as well, and then loses the old name.
TRenameOutcome RenameNoReplace(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return TRenameOutcome::Done;
    if (errno == EXDEV)
        return TRenameOutcome::OtherFileSystem;
    if (errno != EINVAL && errno != ENOSYS)
        return TRenameOutcome::Refused;
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno == EXDEV ? TRenameOutcome::OtherFileSystem : TRenameOutcome::Refused;
    ::unlink(from.c_str());
    return TRenameOutcome::Done;
}

bool NameTaken(const fs::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Copies a file to a new name with its last-write time and flushes the copy to the medium.
bool CopyWithDate(const fs::path& from, const fs::path& to)
{
    struct stat info {};
    TFileStream in;
    if (::stat(from.c_str(), &info) != 0 || !in.Open(from, TFileMode::Read))
        return false;
    TFileStream out;
    if (!out.Open(to, TFileMode::CreateNew))
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    const bool copied = in.CopyTo(out, -1) == info.st_size && out.Sync() && out.Close() &&
                        ::utimensat(AT_FDCWD, to.c_str(), times, 0) == 0;
    if (!copied) {
        out.Close();
        DeleteFileIfExists(to);
    }
    return copied;
}

// A link is replaced itself, never its target; a regular file only when its owner may write it.
bool MayReplace(const fs::path& dest)
{
    struct stat info {};
    if (::lstat(dest.c_str(), &info) != 0)
        return errno == ENOENT;
    return S_ISLNK(info.st_mode) || (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0);
}

}  // namespace

bool MoveIntoPlace(const fs::path& finished, const fs::path& dest)
{
    const TRenameOutcome moved = RenameNoReplace(finished, dest);
    if (moved != TRenameOutcome::OtherFileSystem)
        return moved == TRenameOutcome::Done;
    // Checked first so that a large file is not copied only to be refused; the rename still decides.
    if (NameTaken(dest))
        return false;
    const fs::path scratch = NewTempFileName(dest.parent_path());
    if (!CopyWithDate(finished, scratch))
        return false;
    if (RenameNoReplace(scratch, dest) != TRenameOutcome::Done) {
        DeleteFileIfExists(scratch);
        return false;
    }
    DeleteFileIfExists(finished);
    return true;
}

bool WriteIntoPlace(const TMemoryStream& data, const fs::path& dest, std::optional<TDateTime> lastWrite)
{
    if (!MayReplace(dest))
        return false;
    const fs::path scratch = NewTempFileName(dest.parent_path());
    TFileStream out;
    if (!out.Open(scratch, TFileMode::CreateNew))
        return false;
    const bool written = out.Write(data.Data().data(), data.Size()) && out.Close();
    if (written && lastWrite)
        SetFileDate(scratch, *lastWrite);
    if (written && ::rename(scratch.c_str(), dest.c_str()) == 0)
        return true;
    out.Close();
    DeleteFileIfExists(scratch);
    return false;
}

}  // namespace pyxa
