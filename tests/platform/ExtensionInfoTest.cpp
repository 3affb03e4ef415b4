#include "DesktopEnvironment.h"
#include "ExtensionInfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace pyxa {
namespace {

using test::DesktopEnvironment;

struct TTypeCase {
    const char* Name;
    std::string Extension;
    TFileTypeInfo Expected;
};

const std::vector<TTypeCase> kTypeCases = {
    {"DefaultApplicationOfKnownType", ".txt", {true, "text/plain", test::kViewerCommand}},
    {"KnownTypeWithoutApplication", ".pyxaorphan", {true, test::kOrphanType, ""}},
    {"ExtensionNoGlobNames", ".zzqq", {false, "", ""}},
    {"NameWithoutExtension", "", {false, "", ""}},
    // Either would otherwise be guessed as something: a folder, or the type of ".txt".
    {"ExtensionWithSlash", "./", {false, "", ""}},
    {"ExtensionWithNul", std::string(".txt\0.exe", 9), {false, "", ""}},
};

void PrintTo(const TTypeCase& c, std::ostream* out)
{
    *out << c.Name;
}

class FileTypeInfoTest : public testing::TestWithParam<TTypeCase> {};

TEST_P(FileTypeInfoTest, AnswersFromTheDesktopsDatabases)
{
    const TTypeCase& c = GetParam();
    const TFileTypeInfo info = GetFileTypeInfo(c.Extension);
    EXPECT_EQ(info.Found, c.Expected.Found);
    EXPECT_EQ(info.ContentType, c.Expected.ContentType);
    EXPECT_EQ(info.Command, c.Expected.Command);
}

INSTANTIATE_TEST_SUITE_P(Extensions, FileTypeInfoTest, testing::ValuesIn(kTypeCases),
                         [](const testing::TestParamInfo<TTypeCase>& info) { return std::string(info.param.Name); });

TEST(FileTypeInfoCommandTest, DefaultCommandOpensTheDocument)
{
    const TFileTypeInfo info = GetFileTypeInfo(".txt");
    const std::vector<std::string> expected = {"/usr/bin/true", "/tmp/a b.txt"};
    EXPECT_EQ(BuildOpenCommand(info.Command, "/tmp/a b.txt"), expected);
}

// The handler is started in the background; its record appears once it has run.
std::string WaitForRecord(const std::filesystem::path& record)
{
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(record); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return test::ReadFile(record);
}

TEST(OpenUrlTest, HandsTheAddressToTheSchemesDefaultApplicationAsOneArgument)
{
    std::filesystem::remove(DesktopEnvironment::OpenedRecord());
    const std::string address = std::string(test::kRecordedScheme) + "://example.org/page?a=1&b=$HOME;x";
    ASSERT_TRUE(OpenUrl(address));
    EXPECT_EQ(WaitForRecord(DesktopEnvironment::OpenedRecord()), address);
}

class OpenUrlFailureTest : public testing::TestWithParam<std::string> {};

TEST_P(OpenUrlFailureTest, ReportsFailure)
{
    EXPECT_FALSE(OpenUrl(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Addresses, OpenUrlFailureTest,
                         testing::Values("", "pyxanohandler://example.org/", "no scheme at all",
                                         std::string("pyxatest://a\0b", 14)));

}  // namespace
}  // namespace pyxa
