#include "container/RenameContainerFile.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

struct RenameCase {
    const char* Label;
    std::string Typed;
    TRenameFileResult Expected;
    std::string FinalName;  // the container's name afterwards
};

std::ostream& operator<<(std::ostream& out, const RenameCase& c)
{
    return out << c.Label;
}

class RenameContainerFileTest : public ::testing::TestWithParam<RenameCase> {
protected:
    RenameContainerFileTest()
    {
        WriteFile(Archive, "container bytes");
        WriteFile(Dir / "taken.pyxa", "another container");
        Container.FileName = Archive;
        Container.ModifiedInd = true;
    }

    test::TempDir Dir;
    fs::path Archive = Dir / "box.pyxa";
    test::FakeHost Host;
    TContainer Container {Host};
};

TEST_P(RenameContainerFileTest, MovesTheFileWithinItsFolderOrChangesNothing)
{
    const RenameCase& c = GetParam();
    EXPECT_EQ(RenameContainerFile(Container, c.Typed), c.Expected);

    const fs::path expected = Dir / c.FinalName;
    EXPECT_EQ(Container.FileName, expected);
    EXPECT_EQ(ReadFile(expected), "container bytes");
    EXPECT_EQ(ReadFile(Dir / "taken.pyxa"), "another container");
    EXPECT_EQ(fs::exists(Archive), c.FinalName == "box.pyxa");
    EXPECT_TRUE(Container.ModifiedInd);
    EXPECT_TRUE(Host.Boxes.empty());
    if (c.Expected == TRenameFileResult::Renamed) {
        ASSERT_EQ(Host.Log.size(), 1u);
        EXPECT_EQ(Host.Log[0].Text, "Pyxa file successfully renamed.");
        EXPECT_EQ(Host.Log[0].FileName, "from \"box.pyxa\" to \"" + c.FinalName + "\"");
        EXPECT_EQ(Host.Log[0].Icon, liSuccess);
        EXPECT_FALSE(Host.Log[0].ShowLog);
        EXPECT_EQ(Host.LastStatus(), "Pyxa file successfully renamed.");
    } else {
        EXPECT_TRUE(Host.Log.empty());
        EXPECT_TRUE(Host.Status.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, RenameContainerFileTest,
    ::testing::Values(RenameCase {"NewNameWithExtension", "new.pyxa", TRenameFileResult::Renamed, "new.pyxa"},
                      RenameCase {"ExtensionKept", "new", TRenameFileResult::Renamed, "new.pyxa"},
                      RenameCase {"OtherExtensionTaken", "new.bin", TRenameFileResult::Renamed, "new.bin"},
                      RenameCase {"LetterCaseCounts", "Box.pyxa", TRenameFileResult::Renamed, "Box.pyxa"},
                      RenameCase {"SameName", "box.pyxa", TRenameFileResult::Unchanged, "box.pyxa"},
                      RenameCase {"SameNameWithoutExtension", "box", TRenameFileResult::Unchanged, "box.pyxa"},
                      RenameCase {"ExistingFile", "taken.pyxa", TRenameFileResult::Failed, "box.pyxa"},
                      RenameCase {"ExistingFileWithoutExtension", "taken", TRenameFileResult::Failed, "box.pyxa"},
                      RenameCase {"Empty", "", TRenameFileResult::Failed, "box.pyxa"},
                      RenameCase {"IntoAnotherFolder", "../out.pyxa", TRenameFileResult::Failed, "box.pyxa"},
                      RenameCase {"ParentFolder", "..", TRenameFileResult::Failed, "box.pyxa"},
                      RenameCase {"Nul", std::string("a\0b", 3), TRenameFileResult::Failed, "box.pyxa"}),
    [](const ::testing::TestParamInfo<RenameCase>& info) { return std::string(info.param.Label); });

TEST(RenameContainerFile, WithoutFileDoesNothing)
{
    test::FakeHost host;
    TContainer container(host);
    EXPECT_EQ(RenameContainerFile(container, "new.pyxa"), TRenameFileResult::Unchanged);
    EXPECT_TRUE(container.FileName.empty());
}

TEST(RenameContainerFile, VanishedFileFails)
{
    test::TempDir dir;
    test::FakeHost host;
    TContainer container(host);
    container.FileName = dir / "gone.pyxa";
    EXPECT_EQ(RenameContainerFile(container, "new.pyxa"), TRenameFileResult::Failed);
    EXPECT_EQ(container.FileName, dir / "gone.pyxa");
    EXPECT_FALSE(fs::exists(dir / "new.pyxa"));
}

}  // namespace
}  // namespace pyxa
