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

class CliTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(dir / "src/docs/x.txt", "ex");
        WriteFile(dir / "src/docs/deep/y.bin", std::string(200000, 'y') + "end");
        WriteFile(dir / "src/top.txt", "top");
        fs::create_directories(dir / "src/empty");
        setenv("PYXA_TEST_PW", "correct horse", 1);
        setenv("PYXA_TEST_WRONG", "wrong horse", 1);
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    test::TempDir dir;
    std::string archive = Path("box.pyxa");
};

TEST_F(CliTransferTest, CreateMakesAnEmptyContainerAndNeverReplacesAFile)
{
    auto run = RunCli({"create", archive});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(RunCli({"list", archive}).Out, "");
    run = RunCli({"create", archive});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("File exists"), std::string::npos);
}

TEST_F(CliTransferTest, AddedFilesAndFoldersComeBackByteIdentical)
{
    auto run = RunCli({"add", archive, Path("src/docs"), Path("src/top.txt"), Path("src/empty")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(RunCli({"list", archive}).Out,
              "docs/\ndocs/deep/\ndocs/deep/y.bin\ndocs/x.txt\ntop.txt\nempty/\n");

    run = RunCli({"extract", archive, "--to", Path("all")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadFile(dir / "all/docs/deep/y.bin"), ReadFile(dir / "src/docs/deep/y.bin"));
    EXPECT_EQ(ReadFile(dir / "all/top.txt"), "top");
    EXPECT_TRUE(fs::is_directory(dir / "all/empty"));

    run = RunCli({"extract", archive, "docs/deep", "top.txt", "--to", Path("some")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadFile(dir / "some/deep/y.bin"), ReadFile(dir / "src/docs/deep/y.bin"));
    EXPECT_EQ(ReadFile(dir / "some/top.txt"), "top");
    EXPECT_FALSE(fs::exists(dir / "some/docs"));
}

TEST_F(CliTransferTest, AddIntoAFolderAndNameClashes)
{
    ASSERT_EQ(RunCli({"add", archive, Path("src/docs")}).Status, 0);
    ASSERT_EQ(RunCli({"add", "--into", "docs", archive, Path("src/top.txt"), Path("src/docs/x.txt")}).Status, 0);
    ASSERT_EQ(RunCli({"add", archive, Path("src/docs")}).Status, 0);
    EXPECT_EQ(RunCli({"list", archive}).Out,
              "docs/\ndocs/deep/\ndocs/deep/y.bin\ndocs/x.txt\ndocs/top.txt\ndocs/Copy (1) of x.txt\n"
              "docs (1)/\ndocs (1)/deep/\ndocs (1)/deep/y.bin\ndocs (1)/x.txt\n");

    auto run = RunCli({"add", archive, "--into", "docs/x.txt", Path("src/top.txt")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("No such folder: docs/x.txt"), std::string::npos);
}

TEST_F(CliTransferTest, MissingSourceFailsThatItemOnly)
{
    auto run = RunCli({"add", archive, Path("src/top.txt"), Path("src/nothing")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Input file not found"), std::string::npos);
    EXPECT_EQ(RunCli({"list", archive}).Out, "top.txt\n");
}

TEST_F(CliTransferTest, EncryptedItemsNeedTheirPassword)
{
    ASSERT_EQ(RunCli({"add", "--password-env", "PYXA_TEST_PW", archive, Path("src/docs")}).Status, 0);
    ASSERT_EQ(RunCli({"add", archive, Path("src/top.txt")}).Status, 0);
    EXPECT_NE(RunCli({"list", "--json", archive}).Out.find("\"encrypted\": true"), std::string::npos);

    auto run = RunCli({"extract", archive, "--to", Path("none")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Cannot decrypt file: x.txt"), std::string::npos) << run.Err;
    EXPECT_EQ(ReadFile(dir / "none/top.txt"), "top") << "the other items still come out";
    EXPECT_FALSE(fs::exists(dir / "none/docs/x.txt"));

    run = RunCli({"extract", "--password-env", "PYXA_TEST_WRONG", archive, "docs/x.txt", "--to", Path("wrong")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Invalid password: x.txt"), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(dir / "wrong/x.txt"));

    WriteFile(dir / "pw.txt", "correct horse\n");
    run = RunCli({"extract", "--password-file", Path("pw.txt"), archive, "docs", "--to", Path("right")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(ReadFile(dir / "right/docs/x.txt"), "ex");
    EXPECT_EQ(ReadFile(dir / "right/docs/deep/y.bin"), ReadFile(dir / "src/docs/deep/y.bin"));
}

TEST_F(CliTransferTest, PasswordSourcesThatCannotBeUsedAreUsageErrors)
{
    auto run = RunCli({"add", "--password-env", "PYXA_TEST_UNSET_VARIABLE", archive, Path("src/top.txt")});
    EXPECT_EQ(run.Status, 2);
    run = RunCli({"extract", "--password-file", Path("absent.txt"), archive, "--to", Path("o")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_FALSE(fs::exists(archive)) << "nothing was created";
    run = RunCli({"extract", archive, "--password", "plain"});
    EXPECT_EQ(run.Status, 2) << "passwords never come from the command line";
}

TEST_F(CliTransferTest, ExtractNeedsADestinationAndExistingPaths)
{
    ASSERT_EQ(RunCli({"add", archive, Path("src/top.txt")}).Status, 0);
    EXPECT_EQ(RunCli({"extract", archive}).Status, 2);
    const auto run = RunCli({"extract", archive, "nope.txt", "--to", Path("o")});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("No such item: nope.txt"), std::string::npos);
}

}  // namespace
}  // namespace pyxa
