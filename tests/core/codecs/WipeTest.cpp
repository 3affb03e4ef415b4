#include "codecs/Wipe.h"
#include "helpers/TempDir.h"
#include "support/Stream.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>
#include <utility>
#include <vector>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

// Distinct bytes everywhere, so that a piece left unwritten shows.
std::string Original(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class WipeFileTest : public ::testing::Test {
protected:
    TWipeProgress Recorder()
    {
        return [this](int pass, int64_t written) { Pieces.emplace_back(pass, written); };
    }

    std::vector<std::pair<int, int64_t>> Pieces;
    test::TempDir Dir;
    fs::path File = Dir / "secret.txt";
};

TEST_F(WipeFileTest, OverwritesThreeTimesInPiecesThenDeletes)
{
    const std::string original = Original(10000);
    WriteFile(File, original);
    // A second name for the same data shows what the passes wrote after the first name is gone.
    const fs::path witness = Dir / "witness";
    fs::create_hard_link(File, witness);
    std::vector<std::string> afterPass;
    int64_t writtenInPass = 0;
    const TWipeProgress progress = [&](int pass, int64_t written) {
        Pieces.emplace_back(pass, written);
        writtenInPass += written;
        if (writtenInPass == 10000) {
            afterPass.push_back(ReadFile(witness));
            writtenInPass = 0;
        }
    };

    EXPECT_TRUE(WipeFile(File, progress));

    EXPECT_FALSE(fs::exists(File));
    std::vector<std::pair<int, int64_t>> expected;
    for (int pass = 1; pass <= 3; ++pass)
        expected.insert(expected.end(), {{pass, 4096}, {pass, 4096}, {pass, 1808}});
    EXPECT_EQ(Pieces, expected);
    ASSERT_EQ(afterPass.size(), 3u);
    // Each pass drew a fresh pattern and repeated it over the whole file, which never grew.
    EXPECT_NE(afterPass[0], afterPass[1]);
    EXPECT_NE(afterPass[1], afterPass[2]);
    const std::string last = ReadFile(witness);
    EXPECT_EQ(last, afterPass[2]);
    ASSERT_EQ(last.size(), original.size());
    EXPECT_NE(last, original);
    const std::string pattern = last.substr(0, 4096);
    EXPECT_EQ(last.substr(4096, 4096), pattern);
    EXPECT_EQ(last.substr(8192), pattern.substr(0, 1808));
}

TEST_F(WipeFileTest, EmptyFileIsDeletedWithoutWrites)
{
    WriteFile(File, "");
    EXPECT_TRUE(WipeFile(File, Recorder()));
    EXPECT_FALSE(fs::exists(File));
    EXPECT_TRUE(Pieces.empty());
}

TEST_F(WipeFileTest, ReadOnlyFileIsWiped)
{
    WriteFile(File, Original(5000));
    fs::permissions(File, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(WipeFile(File, Recorder()));
    EXPECT_FALSE(fs::exists(File));
    EXPECT_EQ(Pieces.size(), 6u);
}

TEST_F(WipeFileTest, WriteFailureLeavesTheFileUnderItsName)
{
    WriteFile(File, Original(10000));
    struct WritesRestored {
        ~WritesRestored() { FailFileWritesAfter(-1); }
    } restore;
    FailFileWritesAfter(5000);

    EXPECT_FALSE(WipeFile(File, Recorder()));

    EXPECT_TRUE(fs::exists(File));
    EXPECT_EQ(fs::file_size(File), 10000u);
    EXPECT_EQ(Pieces, (std::vector<std::pair<int, int64_t>> {{1, 4096}}));
}

// What is in a folder, links not followed: each entry's kind and, for files, content.
std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (entry.is_symlink())
            entries[name] = "link to " + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory())
            entries[name] = "folder";
        else
            entries[name] = "file " + ReadFile(entry.path());
    }
    return entries;
}

enum class Refused { LinkToFile, LinkToMissing, Folder, Missing, LockedByAnotherHolder };

class WipeRefused : public WipeFileTest, public ::testing::WithParamInterface<Refused> {
protected:
    ~WipeRefused() override
    {
        if (FHeld >= 0)
            ::close(FHeld);
    }

    // Prepares the case in the folder and returns the path to wipe.
    fs::path Prepare()
    {
        WriteFile(File, Original(6000));
        const fs::path link = Dir / "link";
        switch (GetParam()) {
        case Refused::LinkToFile: fs::create_symlink(File, link); return link;
        case Refused::LinkToMissing: fs::create_symlink(Dir / "nothing", link); return link;
        case Refused::Folder: fs::create_directory(Dir / "folder"); return Dir / "folder";
        case Refused::Missing: return Dir / "nothing";
        case Refused::LockedByAnotherHolder:
            FHeld = ::open(File.c_str(), O_RDONLY | O_CLOEXEC);
            EXPECT_EQ(::flock(FHeld, LOCK_EX | LOCK_NB), 0);
            return File;
        }
        return {};
    }

private:
    int FHeld = -1;
};

TEST_P(WipeRefused, ChangesNothing)
{
    const fs::path path = Prepare();
    const auto before = Snapshot(Dir.Path());

    EXPECT_FALSE(WipeFile(path, Recorder()));

    EXPECT_TRUE(Pieces.empty());
    EXPECT_EQ(Snapshot(Dir.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Wipe, WipeRefused,
                         ::testing::Values(Refused::LinkToFile, Refused::LinkToMissing, Refused::Folder,
                                           Refused::Missing, Refused::LockedByAnotherHolder),
                         [](const ::testing::TestParamInfo<Refused>& info) {
                             switch (info.param) {
                             case Refused::LinkToFile: return "LinkToFile";
                             case Refused::LinkToMissing: return "LinkToMissing";
                             case Refused::Folder: return "Folder";
                             case Refused::Missing: return "Missing";
                             case Refused::LockedByAnotherHolder: return "LockedByAnotherHolder";
                             }
                             return "Unknown";
                         });

}  // namespace
}  // namespace pyxa
