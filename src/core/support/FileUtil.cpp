#include "support/FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace pyxa {

bool FileExists(const std::filesystem::path& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int64_t FileSizeOf(const std::filesystem::path& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return -1;
    return info.st_size;
}

TDateTime FileDateOf(const std::filesystem::path& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return -1;
    return LocalDateTimeOf(timespec {info.st_mtim.tv_sec, 0});
}

bool SetFileDate(const std::filesystem::path& path, TDateTime date)
{
    timespec moment {};
    if (path.empty() || !MomentOfLocalDateTime(date, moment))
        return false;
    // The access time stays as it is.
    const timespec times[2] = {{0, UTIME_OMIT}, moment};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

void ClearReadOnly(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0)
        ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
}

void DeleteFileIfExists(const std::filesystem::path& path)
{
    if (path.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string NameWithoutFolder(const std::filesystem::path& path)
{
    return path.filename().string();
}

}  // namespace pyxa
