#include "codecs/WipeCommands.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

constexpr int kYesNoCancel = mbYes | mbNo | mbCancel;

class WipeCommandsTest : public ::testing::Test {
protected:
    WipeCommandsTest()
    {
        WriteFile(Archive, "container bytes");
        Container.FileName = Archive;
    }
    ~WipeCommandsTest() override
    {
        if (FHeld >= 0)
            ::close(FHeld);
    }

    fs::path MakeFile(const std::string& name, const std::string& content = "some content")
    {
        WriteFile(Dir / name, content);
        return Dir / name;
    }

    // Another holder takes the file's lock for the rest of the test.
    void HoldLock(const fs::path& path)
    {
        FHeld = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(FHeld, LOCK_EX | LOCK_NB), 0);
    }

    bool StatusShown(const std::string& text) const
    {
        return std::find(Host.Status.begin(), Host.Status.end(), text) != Host.Status.end();
    }

    void ExpectBox(size_t index, const std::string& instruction, const std::string& content, int buttons) const
    {
        ASSERT_LT(index, Host.Boxes.size());
        EXPECT_EQ(Host.Boxes[index].Instruction, instruction);
        EXPECT_EQ(Host.Boxes[index].Content, content);
        EXPECT_EQ(Host.Boxes[index].Icon, miWarning);
        EXPECT_EQ(Host.Boxes[index].Buttons, buttons);
    }

    void ExpectRefusalBox(size_t index) const
    {
        ExpectBox(index, "You cannot wipe the current Pyxa file using this option.",
                  "Please use the option provided for that task.", mbOK);
    }

    test::TempDir Dir;
    fs::path Archive = Dir / "box.pyxa";
    test::FakeHost Host;
    TContainer Container {Host};

private:
    int FHeld = -1;
};

TEST_F(WipeCommandsTest, ChosenFilesSkipTheMissingAndTheCurrentContainer)
{
    const fs::path a = MakeFile("a.txt");
    const fs::path b = MakeFile("b.txt");
    Host.BoxAnswers = {mrYes, mrOK};

    const TWipeRun run = WipeChosenFiles(Host, {a, Archive, Dir / "gone.txt", b}, Container.FileName);

    EXPECT_FALSE(run.Cancelled);
    EXPECT_EQ(run.Wiped, 2);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));
    EXPECT_EQ(ReadFile(Archive), "container bytes");
    ASSERT_EQ(Host.Boxes.size(), 2u);
    ExpectBox(0, "Selected file/s will be securely deleted...", "Are you sure you want to continue?", kYesNoCancel);
    ExpectRefusalBox(1);
    EXPECT_EQ(Host.Status, (std::vector<std::string> {"Wiping file \"a.txt\"...", "Wiping file \"b.txt\"...",
                                                      "2 of 4 file/s securely deleted."}));
}

enum class Alias { SamePath, OtherSpelling, ThroughFolderLink, HardLink };

class WipeCurrentContainerChosen : public WipeCommandsTest, public ::testing::WithParamInterface<Alias> {
protected:
    fs::path Chosen()
    {
        switch (GetParam()) {
        case Alias::SamePath: return Archive;
        case Alias::OtherSpelling:
            fs::create_directory(Dir / "sub");
            return Dir / "sub" / ".." / "." / "box.pyxa";
        case Alias::ThroughFolderLink:
            fs::create_directory_symlink(Dir.Path(), Dir / "alias");
            return Dir / "alias" / "box.pyxa";
        case Alias::HardLink: fs::create_hard_link(Archive, Dir / "twin.pyxa"); return Dir / "twin.pyxa";
        }
        return {};
    }
};

TEST_P(WipeCurrentContainerChosen, IsRefusedUnderAnyName)
{
    const fs::path chosen = Chosen();
    Host.BoxAnswers = {mrYes, mrOK};

    EXPECT_EQ(WipeChosenFiles(Host, {chosen}, Container.FileName).Wiped, 0);

    EXPECT_EQ(ReadFile(Archive), "container bytes");
    EXPECT_TRUE(fs::exists(chosen));
    ASSERT_EQ(Host.Boxes.size(), 2u);
    ExpectRefusalBox(1);
    EXPECT_EQ(Host.LastStatus(), "0 of 1 file/s securely deleted.");
}

INSTANTIATE_TEST_SUITE_P(Wipe, WipeCurrentContainerChosen,
                         ::testing::Values(Alias::SamePath, Alias::OtherSpelling, Alias::ThroughFolderLink,
                                           Alias::HardLink),
                         [](const ::testing::TestParamInfo<Alias>& info) {
                             switch (info.param) {
                             case Alias::SamePath: return "SamePath";
                             case Alias::OtherSpelling: return "OtherSpelling";
                             case Alias::ThroughFolderLink: return "ThroughFolderLink";
                             case Alias::HardLink: return "HardLink";
                             }
                             return "Unknown";
                         });

TEST_F(WipeCommandsTest, WithNoContainerOpenEveryChosenFileIsWiped)
{
    const fs::path a = MakeFile("a.txt");
    Host.BoxAnswers = {mrYes};
    EXPECT_EQ(WipeChosenFiles(Host, {a, Archive}, {}).Wiped, 2);
    EXPECT_EQ(Host.Boxes.size(), 1u);
    EXPECT_FALSE(fs::exists(Archive));
}

TEST_F(WipeCommandsTest, FileInUseCountsAsNotDeleted)
{
    const fs::path a = MakeFile("a.txt", "keep me");
    HoldLock(a);
    Host.BoxAnswers = {mrYes};

    EXPECT_EQ(WipeChosenFiles(Host, {a}, Container.FileName).Wiped, 0);

    EXPECT_EQ(ReadFile(a), "keep me");
    EXPECT_EQ(Host.LastStatus(), "0 of 1 file/s securely deleted.");
}

TEST_F(WipeCommandsTest, CancelledFileDialog)
{
    EXPECT_TRUE(WipeChosenFiles(Host, {}, Container.FileName).Cancelled);
    EXPECT_TRUE(Host.Boxes.empty());
    EXPECT_EQ(Host.Status, std::vector<std::string> {"Operation cancelled."});
}

// Each command asks first; only Yes goes ahead. Run returns whether the command went ahead.
struct CommandCase {
    const char* Name;
    const char* Instruction;
    bool (*Run)(TContainer& container, const fs::path& other);
};

void PrintTo(const CommandCase& value, std::ostream* out)
{
    *out << value.Name;
}

const CommandCase kCommands[] = {
    {"WipeChosenFiles", "Selected file/s will be securely deleted...",
     [](TContainer& container, const fs::path& other) {
         return !WipeChosenFiles(container.Host, {other}, container.FileName).Cancelled;
     }},
    {"WipeCurrentPyxaFile", "This Pyxa file will be securely deleted and all files will be lost...",
     [](TContainer& container, const fs::path&) { return WipeCurrentPyxaFile(container); }},
    {"DeleteCurrentPyxaFile", "This Pyxa file will be deleted and all files will be lost...",
     [](TContainer& container, const fs::path&) { return DeleteCurrentPyxaFile(container); }},
};

class WipeNotConfirmed : public WipeCommandsTest,
                            public ::testing::WithParamInterface<std::tuple<CommandCase, int>> {};

TEST_P(WipeNotConfirmed, ChangesNothing)
{
    const auto& [command, answer] = GetParam();
    const fs::path other = MakeFile("other.txt", "other");
    Host.BoxAnswers = {answer};

    EXPECT_FALSE(command.Run(Container, other));

    ASSERT_EQ(Host.Boxes.size(), 1u);
    ExpectBox(0, command.Instruction, "Are you sure you want to continue?", kYesNoCancel);
    EXPECT_EQ(Host.Status, std::vector<std::string> {"Operation cancelled."});
    EXPECT_EQ(ReadFile(Archive), "container bytes");
    EXPECT_EQ(ReadFile(other), "other");
    EXPECT_TRUE(Host.BusyCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(Wipe, WipeNotConfirmed,
                         ::testing::Combine(::testing::ValuesIn(kCommands), ::testing::Values(mrNo, mrCancel, mrNone)),
                         [](const ::testing::TestParamInfo<std::tuple<CommandCase, int>>& info) {
                             return std::string(std::get<0>(info.param).Name) + "Answer" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST_F(WipeCommandsTest, WipingTheCurrentContainerClosesTheWindow)
{
    Host.BoxAnswers = {mrYes};
    EXPECT_TRUE(WipeCurrentPyxaFile(Container));
    EXPECT_FALSE(fs::exists(Archive));
    EXPECT_EQ(Host.BusyCalls, (std::vector<std::pair<bool, bool>> {{true, false}, {false, false}}));
}

TEST_F(WipeCommandsTest, CurrentContainerInUseIsNotWipedAndTheWindowStays)
{
    HoldLock(Archive);
    Host.BoxAnswers = {mrYes};

    EXPECT_FALSE(WipeCurrentPyxaFile(Container));

    EXPECT_EQ(ReadFile(Archive), "container bytes");
    EXPECT_EQ(Host.LastStatus(), "0 of 1 file/s securely deleted.");
    EXPECT_EQ(Host.BusyCalls.back(), std::make_pair(false, false));
}

TEST_F(WipeCommandsTest, DeletingTheCurrentContainerClosesTheWindow)
{
    Host.BoxAnswers = {mrYes};
    EXPECT_TRUE(DeleteCurrentPyxaFile(Container));
    EXPECT_FALSE(fs::exists(Archive));
}

TEST_F(WipeCommandsTest, DeletingALinkedContainerRemovesOnlyTheLink)
{
    const fs::path link = Dir / "link.pyxa";
    fs::create_symlink(Archive, link);
    Container.FileName = link;
    Host.BoxAnswers = {mrYes};

    EXPECT_TRUE(DeleteCurrentPyxaFile(Container));

    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(ReadFile(Archive), "container bytes");
}

TEST_F(WipeCommandsTest, CurrentContainerGoneStillClosesTheWindow)
{
    fs::remove(Archive);
    Host.BoxAnswers = {mrYes, mrYes};
    EXPECT_TRUE(WipeCurrentPyxaFile(Container));
    EXPECT_TRUE(DeleteCurrentPyxaFile(Container));
}

}  // namespace
}  // namespace pyxa
