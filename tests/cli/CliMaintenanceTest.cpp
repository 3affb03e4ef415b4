#include "helpers/CliRun.h"
#include "helpers/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCli;
using test::WriteFile;

class CliMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(dir / "src/docs/a.txt", "alpha");
        WriteFile(dir / "src/docs/b.txt", std::string(5000, 'b'));
        WriteFile(dir / "src/c.txt", "gamma");
        setenv("PYXA_TEST_KEY", "folder key", 1);
        setenv("PYXA_TEST_OTHER", "other key", 1);
        ASSERT_EQ(RunCli({"add", archive, Path("src/docs"), Path("src/c.txt")}).Status, 0);
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    int EncryptedCount()
    {
        const std::string json = RunCli({"list", "--json", archive}).Out;
        int count = 0;
        for (size_t at = json.find("\"encrypted\": true"); at != std::string::npos;
             at = json.find("\"encrypted\": true", at + 1))
            ++count;
        return count;
    }

    test::TempDir dir;
    std::string archive = Path("box.pyxa");
};

TEST_F(CliMaintenanceTest, TestPassesAGoodContainerAndFailsADamagedOne)
{
    auto run = RunCli({"test", archive});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Out.find("No errors detected."), std::string::npos);

    std::string bytes = ReadFile(archive);
    bytes[13 + 17 + 4] ^= 0x40;  // inside the first item's packed data
    WriteFile(archive, bytes);
    run = RunCli({"test", archive});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("Errors were found."), std::string::npos) << run.Out;

    WriteFile(archive, ReadFile(archive) + "trailing");
    run = RunCli({"test", archive});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("File structure error"), std::string::npos) << run.Err;
}

TEST_F(CliMaintenanceTest, EncryptAndDecryptFolderFileAndEverything)
{
    auto run = RunCli({"encrypt", "--password-env", "PYXA_TEST_KEY", archive, "docs"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(EncryptedCount(), 2);
    EXPECT_EQ(RunCli({"test", archive}).Status, 1) << "encrypted items need the password";
    EXPECT_EQ(RunCli({"test", "--password-env", "PYXA_TEST_KEY", archive}).Status, 0);

    run = RunCli({"decrypt", "--password-env", "PYXA_TEST_OTHER", archive, "docs/a.txt"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Invalid password"), std::string::npos) << run.Err;
    EXPECT_EQ(EncryptedCount(), 2);

    run = RunCli({"decrypt", "--password-env", "PYXA_TEST_KEY", archive, "docs/a.txt"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(EncryptedCount(), 1);

    ASSERT_EQ(RunCli({"decrypt", "--password-env", "PYXA_TEST_KEY", archive}).Status, 0);
    EXPECT_EQ(EncryptedCount(), 0);
    ASSERT_EQ(RunCli({"extract", archive, "--to", Path("out")}).Status, 0);
    EXPECT_EQ(ReadFile(dir / "out/docs/b.txt"), std::string(5000, 'b'));
}

TEST_F(CliMaintenanceTest, WipeDeletesWhatItCanAndReportsTheRest)
{
    WriteFile(dir / "secret.txt", "top secret");
    fs::create_symlink(dir / "src/c.txt", dir / "link.txt");
    auto run = RunCli({"wipe", Path("secret.txt"), Path("link.txt"), Path("absent.txt")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("1 of 3 file/s securely deleted."), std::string::npos) << run.Out;
    EXPECT_FALSE(fs::exists(dir / "secret.txt"));
    EXPECT_EQ(ReadFile(dir / "src/c.txt"), "gamma") << "a link's target is never wiped";

    WriteFile(dir / "one.txt", "1");
    EXPECT_EQ(RunCli({"wipe", Path("one.txt")}).Status, 0);
    EXPECT_FALSE(fs::exists(dir / "one.txt"));
}

}  // namespace
}  // namespace pyxa
