#include "helpers/CliRun.h"
#include "helpers/ContainerBytes.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace pyxa {
namespace {

using test::CliRun;
using test::RunCli;

const std::string kItems =
    "  <Folder Name=\"Docs\" Added=\"2010-05-04T13:07:09+02:00\" Original=\"\" Color=\"0\" Icon=\"0\" "
    "Encrypted=\"false\">\n"
    "    <File Name=\"a.txt\" Size=\"1500\" Added=\"2010-05-04T13:07:09Z\" Original=\"2009-01-02T03:04:05-05:30\" "
    "Comments=\"note&#10;two\" Color=\"255\" Icon=\"3\" Encrypted=\"true\" Index=\"13\" Crc=\"-1\"/>\n"
    "    <Folder Name=\"Empty\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\"/>\n"
    "  </Folder>\n"
    "  <File Name=\"top.bin\" Size=\"7\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\" "
    "Index=\"40\" Crc=\"43981\"/>\n";

class CliReadTest : public ::testing::Test {
protected:
    void SetUp() override { test::WriteFile(archive, test::ContainerBytes("", test::IndexDocumentText(kItems))); }

    test::TempDir dir;
    std::string archive = (dir / "box.pyxa").string();
};

TEST_F(CliReadTest, ListPrintsPathsInTreeOrderWithFoldersEndingInSlash)
{
    const CliRun run = RunCli({"list", archive});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "Docs/\nDocs/a.txt\nDocs/Empty/\ntop.bin\n");
}

TEST_F(CliReadTest, ListJsonCarriesEveryAttribute)
{
    const CliRun run = RunCli({"list", "--json", archive});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto items = nlohmann::json::parse(run.Out);
    ASSERT_EQ(items.size(), 4u);
    const auto& a = items[1];
    EXPECT_EQ(a["path"], "Docs/a.txt");
    EXPECT_EQ(a["name"], "a.txt");
    EXPECT_EQ(a["folder"], false);
    EXPECT_EQ(a["size"], 1500);
    EXPECT_EQ(a["added"], "2010-05-04T13:07:09Z");
    EXPECT_EQ(a["original"], "2009-01-02T03:04:05-05:30");
    EXPECT_EQ(a["comments"], "note\ntwo");
    EXPECT_EQ(a["color"], 255);
    EXPECT_EQ(a["icon"], 3);
    EXPECT_EQ(a["encrypted"], true);
    EXPECT_EQ(a["index"], 13);
    EXPECT_EQ(a["crc"], 4294967295u);
    EXPECT_EQ(items[0]["path"], "Docs/");
    EXPECT_EQ(items[0]["folder"], true);
    EXPECT_EQ(items[0]["index"], -1);
    EXPECT_EQ(items[2]["added"], "");
    // Options may stand after the archive too.
    EXPECT_EQ(RunCli({"list", archive, "--json"}).Out, run.Out);
}

TEST_F(CliReadTest, InfoShowsTheInstructionThenTheLines)
{
    CliRun run = RunCli({"info", archive, "Docs/a.txt"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), "File information:");
    EXPECT_NE(run.Out.find("\nCRC32: FFFFFFFF\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\nFile size: 1.46KB (1500Bytes)\n"), std::string::npos);

    run = RunCli({"info", archive, "Docs/"});
    EXPECT_NE(run.Out.find("Folder information:\nName: \"Docs\"\nTotal files: 1\nTotal subfolders: 1\n"),
              std::string::npos);

    run = RunCli({"info", archive});
    EXPECT_EQ(run.Out.substr(0, run.Out.find('\n')), "Pyxa file information:");
    EXPECT_NE(run.Out.find("\nStored files: 2\nStored folders: 2\n"), std::string::npos);
}

struct FailureCase {
    std::string Name;
    std::vector<std::string> Args;
    std::string ErrContains;
};

TEST_F(CliReadTest, FailuresExitWithTwoAndSayWhy)
{
    test::WriteFile(dir / "text.pyxa", "just some text");
    const FailureCase cases[] = {
        {"NotAContainer", {"list", (dir / "text.pyxa").string()}, "Main signature error\n"},
        {"MissingFile", {"info", (dir / "absent.pyxa").string()}, "File not found\n"},
        {"NoSuchItem", {"info", archive, "Docs/zzz"}, "No such item: Docs/zzz"},
        {"FileIsNotAFolder", {"info", archive, "top.bin/x"}, "No such item"},
        {"UnknownOption", {"list", "--bogus", archive}, "unknown option --bogus"},
        {"MissingArchive", {"list"}, "usage: pyxa-cli list"},
        {"UnknownCommand", {"frobnicate"}, "unknown command"},
        {"NoCommand", {}, "usage: pyxa-cli COMMAND"},
    };
    for (const FailureCase& c : cases) {
        const CliRun run = RunCli(c.Args);
        EXPECT_EQ(run.Status, 2) << c.Name;
        EXPECT_NE(run.Err.find(c.ErrContains), std::string::npos) << c.Name << ": " << run.Err;
    }
}

TEST(CliHelp, OverviewAndEveryCommandExplainThemselves)
{
    const CliRun overview = RunCli({"--help"});
    EXPECT_EQ(overview.Status, 0);
    for (const char* command : {"create", "add", "extract", "test", "encrypt", "decrypt", "wipe", "list", "info"}) {
        EXPECT_NE(overview.Out.find(std::string("  ") + command), std::string::npos) << command;
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.Status, 0);
        EXPECT_EQ(help.Out.rfind(std::string("usage: pyxa-cli ") + command, 0), 0u) << help.Out;
    }
    EXPECT_NE(RunCli({"list", "--help"}).Out.find("--json"), std::string::npos);
}

}  // namespace
}  // namespace pyxa
