#pragma once
// A scratch file that is deleted when it goes out of scope, unless it was handed over.

#include "support/FileUtil.h"

#include <filesystem>
#include <utility>

namespace pyxa {

class TScratchFile {
public:
    explicit TScratchFile(std::filesystem::path path) : FPath(std::move(path)) {}
    ~TScratchFile()
    {
        if (!FPath.empty())
            DeleteFileIfExists(FPath);
    }
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // The file is no longer deleted here; its path goes to the caller.
    std::filesystem::path Release() { return std::exchange(FPath, std::filesystem::path()); }

private:
    std::filesystem::path FPath;
};

}  // namespace pyxa
