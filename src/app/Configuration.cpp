#include "Configuration.h"

#include "support/FileUtil.h"
#include "support/IniFile.h"
#include "support/ProductTexts.h"
#include "support/WorkingFolder.h"

#include <cstdlib>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfigurationSection = "Configuration";

// Only an absolute $XDG_CONFIG_HOME counts; relative ones are to be ignored.
fs::path ConfigHome()
{
    const char* configured = std::getenv("XDG_CONFIG_HOME");
    if (configured && fs::path(configured).is_absolute())
        return configured;
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute())
        return fs::path(home) / ".config";
    return {};
}

bool MakeFolder(const fs::path& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

std::string WithTrailingSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

}  // namespace

fs::path ApplicationDataFolder(const std::string& productFolderName)
{
    const fs::path home = ConfigHome();
    if (home.empty())
        return {};
    const fs::path folder = home / kMakerFolderName / productFolderName;
    return MakeFolder(folder) ? folder : fs::path();
}

TConfiguration ReadConfiguration(const fs::path& file)
{
    TConfiguration configuration;
    if (file.empty())
        return configuration;
    const TIniFile ini(file);
    configuration.Version = ini.ReadString(kProductSection, "Version", "");
    configuration.RestoreOriginalDate = ini.ReadBool(kConfigurationSection, "RestoreOriginalDate", true);
    configuration.TempDirMode = ini.ReadInteger(kConfigurationSection, "TempDirMode", tdmSystemTemp);
    if (configuration.TempDirMode == tdmTempDir)
        configuration.TempDir = WithTrailingSeparator(ini.ReadString(kConfigurationSection, "TempDir", ""));
    return configuration;
}

fs::path WorkingFolderBase(TConfiguration& configuration, const fs::path& dataFolder)
{
    if (configuration.TempDirMode == tdmTempDir && IsFolder(configuration.TempDir))
        return configuration.TempDir;
    if (configuration.TempDirMode == tdmApplicationData && !dataFolder.empty())
        return dataFolder;
    configuration.TempDirMode = tdmSystemTemp;
    configuration.TempDir.clear();
    return SystemTempFolder();
}

bool WriteConfiguration(const fs::path& file, const TConfiguration& configuration)
{
    if (file.empty())
        return false;
    ClearReadOnly(file);
    TIniFile ini(file);
    ini.WriteString(kProductSection, "Version", kConfigurationVersion);
    ini.WriteBool(kConfigurationSection, "RestoreOriginalDate", configuration.RestoreOriginalDate);
    ini.WriteInteger(kConfigurationSection, "TempDirMode", configuration.TempDirMode);
    if (configuration.TempDirMode == tdmTempDir)
        ini.WriteString(kConfigurationSection, "TempDir", configuration.TempDir);
    return ini.Save();
}

}  // namespace pyxa
