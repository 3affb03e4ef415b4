#pragma once
// The window's settings file: where it lives, what it holds and where the working folder goes.

#include <filesystem>
#include <string>

namespace pyxa {

inline constexpr const char* kConfigurationVersion = "016000";
inline constexpr const char* kConfigurationFileName = "pyxa.ini";

enum TTempDirMode {
    tdmSystemTemp = 0,       // the system temporary folder
    tdmApplicationData = 1,  // the application data folder
    tdmTempDir = 2,          // the folder named by TempDir
};

struct TConfiguration {
    std::string Version;  // build that last wrote the file; empty when absent
    bool RestoreOriginalDate = true;
    int TempDirMode = tdmSystemTemp;
    std::string TempDir;  // with a trailing separator; used only in mode tdmTempDir
};

// $XDG_CONFIG_HOME (else ~/.config) / maker folder / product folder, each created when missing;
// empty when there is no such folder and it cannot be made.
std::filesystem::path ApplicationDataFolder(const std::string& productFolderName);
// The settings in the file; defaults for whatever is missing or unreadable.
TConfiguration ReadConfiguration(const std::filesystem::path& file);
// The base of the working folder by TempDirMode. A mode that cannot be honoured (TempDir not an
// existing folder, no application data folder, an unknown mode) falls back to the system
// temporary folder and is remembered as such.
std::filesystem::path WorkingFolderBase(TConfiguration& configuration, const std::filesystem::path& dataFolder);
// Writes the current build's version and the settings; false when the file cannot be written.
bool WriteConfiguration(const std::filesystem::path& file, const TConfiguration& configuration);

}  // namespace pyxa
