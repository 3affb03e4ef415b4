#include "DesktopEnvironment.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace pyxa::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMimePackage = R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/plain">
    <comment>plain text document</comment>
    <glob pattern="*.txt"/>
  </mime-type>
  <mime-type type="application/x-pyxa-orphan">
    <comment>a type no application opens</comment>
    <glob pattern="*.pyxaorphan"/>
  </mime-type>
</mime-info>
)";

// Runs a program found on PATH, its output discarded; true when it exited with 0.
bool RunQuietly(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string DesktopEntry(const std::string& name, const std::string& exec, const std::string& mimeTypes)
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\nMimeType=" + mimeTypes + "\n";
}

}  // namespace

void DesktopEnvironment::SetUp()
{
    FRoot = std::make_unique<TempDir>();
    WriteMimeDatabase();
    WriteApplications();
    SetVariables();
}

void DesktopEnvironment::TearDown()
{
    FRoot.reset();
}

fs::path DesktopEnvironment::OpenedRecord()
{
    return FRoot->Path() / "data" / "opened";
}

void DesktopEnvironment::WriteMimeDatabase() const
{
    const fs::path mime = FRoot->Path() / "data" / "mime";
    WriteFile(mime / "packages" / "pyxa-test.xml", kMimePackage);
    if (!RunQuietly({"update-mime-database", mime.string()}))
        throw std::runtime_error("update-mime-database (shared-mime-info) failed or is not installed");
}

void DesktopEnvironment::WriteApplications() const
{
    const fs::path applications = FRoot->Path() / "data" / "applications";
    WriteFile(applications / "pyxa-test-viewer.desktop", DesktopEntry("Viewer", kViewerCommand, "text/plain;"));
    WriteFile(applications / "pyxa-test-other.desktop", DesktopEntry("Other", "/usr/bin/false %F", "text/plain;"));
    // The index that update-desktop-database would write. It ranks the other application first,
    // so only the user's default choice below picks the viewer.
    WriteFile(applications / "mimeinfo.cache",
              "[MIME Cache]\ntext/plain=pyxa-test-other.desktop;pyxa-test-viewer.desktop;\n");

    // Stands in for the browser: leaves its first argument where the tests look for it.
    const fs::path recorder = FRoot->Path() / "data" / "record-open";
    const std::string record = OpenedRecord().string();
    WriteFile(recorder, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + record + ".part\" && mv \"" + record + ".part\" \"" +
                            record + "\"\n");
    fs::permissions(recorder, fs::perms::owner_all);
    const std::string scheme = std::string("x-scheme-handler/") + kRecordedScheme;
    WriteFile(applications / "pyxa-test-browser.desktop",
              DesktopEntry("Browser", "\"" + recorder.string() + "\" %u", scheme + ";"));

    WriteFile(FRoot->Path() / "config" / "mimeapps.list",
              "[Default Applications]\ntext/plain=pyxa-test-viewer.desktop\n" + scheme +
                  "=pyxa-test-browser.desktop\n");
}

void DesktopEnvironment::SetVariables() const
{
    const fs::path root = FRoot->Path();
    fs::create_directories(root / "empty");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root / "empty").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root / "empty").c_str(), 1);
    unsetenv("XDG_CURRENT_DESKTOP");
    // Launching talks to no session bus and no virtual file system of the machine.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root / "no-bus").string()).c_str(), 1);
    setenv("GIO_USE_VFS", "local", 1);
}

}  // namespace pyxa::test
