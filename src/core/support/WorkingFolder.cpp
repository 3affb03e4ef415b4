#include "support/WorkingFolder.h"

#include "support/ProductTexts.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <vector>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

std::mt19937& Generator()
{
    thread_local std::mt19937 generator {std::random_device {}()};
    return generator;
}

}  // namespace

std::string RandomText(int count)
{
    const size_t alphabetSize = std::strlen(kRandomTextAlphabet);
    std::uniform_int_distribution<size_t> pick(0, alphabetSize - 1);
    std::string text;
    for (int i = 0; i < count; ++i)
        text += kRandomTextAlphabet[pick(Generator())];
    return text;
}

fs::path NewTempFileName(const fs::path& folder)
{
    for (;;) {
        fs::path candidate = folder / (RandomText(8) + ".dat");
        std::error_code error;
        if (!fs::exists(fs::symlink_status(candidate, error)))
            return candidate;
    }
}

void RemoveFolderContents(const fs::path& folder, bool keepFolder)
{
    std::error_code error;
    if (folder.empty() || folder == folder.root_path() || !fs::is_directory(fs::symlink_status(folder, error)))
        return;
    // Breadth-first: the folder, then its sub-folders in the order found; links are removed, not followed.
    std::vector<fs::path> folders {folder};
    for (size_t i = 0; i < folders.size(); ++i) {
        for (fs::directory_iterator it(folders[i], error), end; !error && it != end; it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                folders.push_back(it->path());
            else
                fs::remove(it->path(), error);
        }
        error.clear();
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        if (keepFolder && *it == folder)
            continue;
        fs::remove(*it, error);
    }
}

TWorkingFolder::TWorkingFolder() : FName("~" + RandomText(4)) {}

void TWorkingFolder::Create(const fs::path& base)
{
    FPath = base / FName;
    if (!fs::exists(FPath))
        fs::create_directory(FPath);
    for (const char* sub : {kTestFolderName, kShellFolderName, kDragFolderName}) {
        if (!fs::exists(FPath / sub))
            fs::create_directory(FPath / sub);
    }
}

void TWorkingFolder::Remove()
{
    if (!FPath.empty())
        RemoveFolderContents(FPath, false);
}

fs::path SystemTempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp)
        return tmp;
    return "/tmp";
}

}  // namespace pyxa
