#include "transfer/ExtractionPath.h"
#include "transfer/Folders.h"

#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>

namespace pyxa {
namespace {

namespace fs = std::filesystem;

struct NameCase {
    std::string Name;
    std::string Safe;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << '"' << VisibleName(c.Name) << '"';
}

class SafeItemNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeItemNameTest, GivesOnePlainComponent)
{
    const std::string safe = SafeItemName(GetParam().Name);
    EXPECT_EQ(safe, GetParam().Safe);
    const fs::path joined = fs::path("/out") / safe;
    EXPECT_EQ(joined.parent_path(), fs::path("/out"));
    EXPECT_EQ(joined.lexically_normal(), joined);
}

INSTANTIATE_TEST_SUITE_P(Names, SafeItemNameTest,
                         ::testing::Values(NameCase {"report.txt", "report.txt"},
                                           NameCase {"..", "No Name"},
                                           NameCase {".", "No Name"},
                                           NameCase {"", "No Name"},
                                           NameCase {"...", "..."},
                                           NameCase {".hidden", ".hidden"},
                                           NameCase {"a/../../escape", "a_.._.._escape"},
                                           NameCase {"/abs", "_abs"},
                                           NameCase {"/", "_"},
                                           NameCase {std::string("x\0y", 3), "x_y"},
                                           NameCase {std::string("\0", 1), "_"},
                                           NameCase {"line\nbreak\x7f", "line_break_"},
                                           NameCase {"back\\slash:colon", "back\\slash:colon"},
                                           NameCase {"caf\xC3\xA9", "caf\xC3\xA9"}));

TEST(VisibleNameTest, ShowsControlCharactersAsEscapes)
{
    EXPECT_EQ(VisibleName(std::string("x\0y\n", 4)), "x\\x00y\\x0A");
    EXPECT_EQ(VisibleName("a/../b"), "a/../b");
}

class StaysInsideTest : public ::testing::Test {
protected:
    StaysInsideTest()
    {
        fs::create_directories(Destination / "real" / "deeper");
        fs::create_directories(Elsewhere);
        fs::create_directory_symlink(Elsewhere, Destination / "link");
        fs::create_directory_symlink(Destination / "real", Destination / "inner-link");
    }

    test::TempDir Dir;
    fs::path Destination = fs::canonical(Dir.Path()) / "out";
    fs::path Elsewhere = fs::canonical(Dir.Path()) / "elsewhere";
};

TEST_F(StaysInsideTest, AcceptsRealAndMissingFoldersBelowTheDestination)
{
    EXPECT_TRUE(StaysInside(Destination, Destination));
    EXPECT_TRUE(StaysInside(Destination, Destination / "real" / "deeper"));
    EXPECT_TRUE(StaysInside(Destination, Destination / "new" / "newer"));
}

TEST_F(StaysInsideTest, RefusesLinksAndPathsOutside)
{
    EXPECT_FALSE(StaysInside(Destination, Destination / "link"));
    EXPECT_FALSE(StaysInside(Destination, Destination / "link" / "new"));
    EXPECT_FALSE(StaysInside(Destination, Destination / "link" / ".."));
    EXPECT_FALSE(StaysInside(Destination, Destination / "real" / ".." / "link" / ".." / "real"));
    // Even a link that stays inside is refused: no link below the destination is followed.
    EXPECT_FALSE(StaysInside(Destination, Destination / "inner-link"));
    EXPECT_FALSE(StaysInside(Destination, Destination / ".." / "elsewhere"));
    EXPECT_FALSE(StaysInside(Destination, Destination / "real" / ".." / ".." / "elsewhere"));
    EXPECT_FALSE(StaysInside(Destination, Elsewhere));
    EXPECT_FALSE(StaysInside(Destination, fs::path(Destination.string() + "-sibling")));
}

TEST(ForceFoldersTest, CreatesEveryMissingFolderAndKeepsExistingOnes)
{
    test::TempDir dir;
    const fs::path base = fs::canonical(dir.Path());
    test::WriteFile(base / "a" / "kept.txt", "kept");
    EXPECT_FALSE(ForceFolders(base / "a" / "b" / "c"));
    EXPECT_TRUE(fs::is_directory(base / "a" / "b" / "c"));
    EXPECT_EQ(test::ReadFile(base / "a" / "kept.txt"), "kept");
    EXPECT_FALSE(ForceFolders(base / "a" / "b" / "c"));
    EXPECT_FALSE(ForceFolders(base / "d" / ""));
    EXPECT_TRUE(fs::is_directory(base / "d"));
    // Below a folder known to exist, only the rest is made.
    EXPECT_FALSE(ForceFolders(base / "a" / "x" / "y", base / "a"));
    EXPECT_TRUE(fs::is_directory(base / "a" / "x" / "y"));
    EXPECT_FALSE(ForceFolders(base / "e", base / "a"));
    EXPECT_TRUE(fs::is_directory(base / "e"));
}

TEST(ForceFoldersTest, FailsOnAFileOrALinkInThePath)
{
    test::TempDir dir;
    const fs::path base = fs::canonical(dir.Path());
    test::WriteFile(base / "file", "x");
    fs::create_directory(base / "elsewhere");
    fs::create_directory_symlink(base / "elsewhere", base / "link");

    EXPECT_EQ(ForceFolders(base / "file" / "sub"), std::errc::not_a_directory);
    EXPECT_EQ(ForceFolders(base / "link" / "sub"), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(ForceFolders(base / "link" / "sub", base), std::errc::too_many_symbolic_link_levels);
    EXPECT_TRUE(fs::is_empty(base / "elsewhere"));
}

}  // namespace
}  // namespace pyxa
