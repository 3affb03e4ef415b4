#pragma once
// The per-run working folder and the names of scratch files.

#include <filesystem>
#include <string>

namespace pyxa {

inline constexpr const char* kTestFolderName = "~Test";
inline constexpr const char* kShellFolderName = "~Shell";
inline constexpr const char* kDragFolderName = "~Drag";

// count characters drawn uniformly from the product's random-name alphabet.
std::string RandomText(int count);
// A fresh, not yet existing name of 8 random characters + ".dat" in the folder. Not created.
std::filesystem::path NewTempFileName(const std::filesystem::path& folder);
// Deletes everything below the folder, and the folder itself unless keepFolder; failures are ignored.
// A filesystem root is refused.
void RemoveFolderContents(const std::filesystem::path& folder, bool keepFolder);

class TWorkingFolder {
public:
    // "~" followed by 4 random characters, drawn once.
    TWorkingFolder();
    const std::string& Name() const { return FName; }
    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path TestFolder() const { return FPath / kTestFolderName; }
    std::filesystem::path ShellFolder() const { return FPath / kShellFolderName; }
    std::filesystem::path DragFolder() const { return FPath / kDragFolderName; }
    // Creates base/Name with its three sub-folders; throws std::filesystem::filesystem_error on failure.
    void Create(const std::filesystem::path& base);
    // Removes the folder and everything in it.
    void Remove();

private:
    std::string FName;
    std::filesystem::path FPath;
};

// The system temporary folder: $TMPDIR, else /tmp.
std::filesystem::path SystemTempFolder();

}  // namespace pyxa
