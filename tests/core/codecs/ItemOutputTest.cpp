#include "codecs/ItemOutput.h"

#include "core/codecs/ItemPipelineFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

namespace pyxa::test {
namespace {

// A folder on another file system than the test's temporary folder (a tmpfs), or none.
class TForeignFolder {
public:
    explicit TForeignFolder(const fs::path& near)
    {
        struct stat here {};
        struct stat shm {};
        if (::stat(near.c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 || here.st_dev == shm.st_dev)
            return;
        std::string pattern = "/dev/shm/pyxa-test-XXXXXX";
        if (mkdtemp(pattern.data()))
            FPath = pattern;
    }
    ~TForeignFolder()
    {
        std::error_code ignored;
        if (!FPath.empty())
            fs::remove_all(FPath, ignored);
    }
    TForeignFolder(const TForeignFolder&) = delete;
    TForeignFolder& operator=(const TForeignFolder&) = delete;

    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

std::vector<std::string> EntriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

time_t ModifiedSeconds(const fs::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mtim.tv_sec : 0;
}

class ItemOutputAcrossFileSystems : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Foreign.Path().empty())
            GTEST_SKIP() << "no second file system at /dev/shm";
        WriteFile(Finished, SampleText(300000, 23));
        const timespec times[2] = {{0, UTIME_OMIT}, {1273000000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Finished.c_str(), times, 0), 0);
    }

    TempDir Dir;
    fs::path Finished = Dir / "finished.dat";
    TForeignFolder Foreign {Dir.Path()};
};

TEST_F(ItemOutputAcrossFileSystems, TheFileArrivesWholeWithItsDate)
{
    const fs::path dest = Foreign.Path() / "moved.txt";
    ASSERT_TRUE(MoveIntoPlace(Finished, dest));
    EXPECT_EQ(ReadFile(dest), SampleText(300000, 23));
    EXPECT_EQ(ModifiedSeconds(dest), 1273000000);
    EXPECT_FALSE(fs::exists(Finished));
    EXPECT_EQ(EntriesOf(Foreign.Path()), std::vector<std::string> {"moved.txt"});
}

TEST_F(ItemOutputAcrossFileSystems, AnExistingFileIsKept)
{
    const fs::path dest = Foreign.Path() / "moved.txt";
    WriteFile(dest, "older file");
    EXPECT_FALSE(MoveIntoPlace(Finished, dest));
    EXPECT_EQ(ReadFile(dest), "older file");
    EXPECT_TRUE(fs::exists(Finished));
    EXPECT_EQ(EntriesOf(Foreign.Path()), std::vector<std::string> {"moved.txt"});
}

TEST_F(ItemOutputAcrossFileSystems, AFullDiskLeavesNoPartialFile)
{
    {
        TDiskFullAfter full(1000);
        EXPECT_FALSE(MoveIntoPlace(Finished, Foreign.Path() / "moved.txt"));
    }
    EXPECT_TRUE(EntriesOf(Foreign.Path()).empty());
    EXPECT_TRUE(fs::exists(Finished));
}

TEST(ItemOutput, ALinkAtTheDestinationIsReplacedAndItsTargetKept)
{
    TempDir dir;
    WriteFile(dir / "target.txt", "somebody else's file");
    fs::create_symlink(dir / "target.txt", dir / "link.txt");
    TMemoryStream data;
    data.Write("restored", 8);

    ASSERT_TRUE(WriteIntoPlace(data, dir / "link.txt", std::nullopt));
    EXPECT_FALSE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(ReadFile(dir / "link.txt"), "restored");
    EXPECT_EQ(ReadFile(dir / "target.txt"), "somebody else's file");
}

}  // namespace
}  // namespace pyxa::test
