#include "transfer/Folders.h"

#include <cerrno>
#include <sys/stat.h>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

// An existing entry is accepted only as a real folder; mkdir itself never follows a final link.
std::error_code MakeFolder(const fs::path& folder)
{
    if (::mkdir(folder.c_str(), 0777) == 0)
        return {};
    if (errno != EEXIST)
        return LastError();
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return LastError();
    if (S_ISLNK(info.st_mode))
        return std::make_error_code(std::errc::too_many_symbolic_link_levels);
    if (!S_ISDIR(info.st_mode))
        return std::make_error_code(std::errc::not_a_directory);
    return {};
}

}  // namespace

std::error_code ForceFolders(const fs::path& path, const fs::path& existing)
{
    fs::path built;
    fs::path rest = path;
    if (const fs::path below = path.lexically_relative(existing);
        !existing.empty() && !below.empty() && *below.begin() != "..") {
        built = existing;
        rest = below;
    }
    for (const fs::path& component : rest) {
        if (component == ".")
            continue;
        built /= component;
        if (component.empty() || component == built.root_path())
            continue;
        if (const std::error_code error = MakeFolder(built))
            return error;
    }
    return {};
}

}  // namespace pyxa
