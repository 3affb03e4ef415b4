#pragma once
// A desktop of the tests' own: XDG data and config folders in a temporary folder with a tiny MIME
// database, a few desktop entries and the user's default choices, so that the answers do not
// depend on what the machine has installed. GLib reads these variables once per process, so this
// is set up before any test runs.

#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace pyxa::test {

// The Exec line of the default application for text/plain.
inline constexpr const char* kViewerCommand = "/usr/bin/true %f";
// A type with a glob but no application.
inline constexpr const char* kOrphanType = "application/x-pyxa-orphan";
// The URI scheme whose handler records the address it was given.
inline constexpr const char* kRecordedScheme = "pyxatest";

class DesktopEnvironment : public testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    // The file in which the handler of kRecordedScheme leaves its first argument.
    static std::filesystem::path OpenedRecord();

private:
    void WriteMimeDatabase() const;
    void WriteApplications() const;
    void SetVariables() const;

    static inline std::unique_ptr<TempDir> FRoot;
};

}  // namespace pyxa::test
