#include "transfer/Extraction.h"

#include "codecs/ItemPipeline.h"
#include "container/OpenContainer.h"
#include "helpers/ContainerBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "support/FileUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::FakeHost;
using test::LoggedEntry;

// Every entry below a folder as a relative path; folders end with "/", links are not followed.
std::set<std::string> Entries(const fs::path& folder)
{
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).generic_string();
        entries.insert(fs::is_directory(entry.symlink_status()) ? name + "/" : name);
    }
    return entries;
}

bool SameEntry(const LoggedEntry& entry, const LoggedEntry& expected)
{
    return entry.Text == expected.Text && entry.FileName == expected.FileName && entry.Icon == expected.Icon &&
           entry.Popup == expected.Popup && entry.ShowLog == expected.ShowLog;
}

std::string Describe(const LoggedEntry& entry)
{
    std::ostringstream text;
    text << "{\"" << entry.Text << "\", \"" << entry.FileName << "\", icon " << entry.Icon << ", popup " << entry.Popup
         << ", show " << entry.ShowLog << "}";
    return text.str();
}

class ExtractionTest : public ::testing::Test {
protected:
    ExtractionTest()
    {
        Container.WorkingFolder.Create(Dir.Path());
        fs::create_directories(Out);
    }

    TTreeNode* AddFolder(TTreeNode* parent, const std::string& name)
    {
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->IsFolder = true;
        return Container.Tree.Add(parent, std::move(item));
    }

    // A pending file packed by the engine, as adding leaves it.
    TTreeNode* AddFile(TTreeNode* parent, const std::string& name, const std::string& content,
                       const std::string& password = "")
    {
        const fs::path source = Dir / ("source" + std::to_string(++Sources));
        test::WriteFile(source, content);
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->Size = static_cast<int64_t>(content.size());
        const PackResult packed = WithinInMemoryLimit(item->Size)
                                      ? PackItemInMemory(Container, source, password, item.get())
                                      : PackItemViaFiles(Container, source, password, item.get());
        EXPECT_EQ(packed, PackResult::Ok);
        item->TmpPass.clear();  // a fresh session has to find the password again
        return Container.Tree.Add(parent, std::move(item));
    }

    // Docs/a.txt, Docs/Sub/b.txt, Docs/Sub/Deeper/ (empty), top.txt
    void AddSample()
    {
        TTreeNode* docs = AddFolder(nullptr, "Docs");
        AddFile(docs, "a.txt", "alpha");
        TTreeNode* sub = AddFolder(docs, "Sub");
        AddFile(sub, "b.txt", "beta");
        AddFolder(sub, "Deeper");
        AddFile(nullptr, "top.txt", "top");
    }

    // The node at a catalogue path written with "/"; nullptr for "".
    TTreeNode* Node(const std::string& path) const
    {
        TTreeNode* node = nullptr;
        std::istringstream parts(path);
        for (std::string part; std::getline(parts, part, '/');) {
            TTreeNode* found = nullptr;
            for (int i = 0; i < Container.Tree.ChildCount(node); ++i) {
                if (Container.Tree.Child(node, i)->Text() == part)
                    found = Container.Tree.Child(node, i);
            }
            if (!found)
                throw std::runtime_error("no node " + path);
            node = found;
        }
        return node;
    }

    TExtractionResult Extract(TTreeNode* root) { return ExtractItems(Container, root, Out); }

    fs::path Written(const std::string& relative) const { return fs::canonical(Out) / relative; }

    void ExpectLogged(const LoggedEntry& expected) const
    {
        for (const auto& entry : Host.Log) {
            if (SameEntry(entry, expected))
                return;
        }
        std::string log;
        for (const auto& entry : Host.Log)
            log += Describe(entry) + "\n";
        ADD_FAILURE() << "not logged: " << Describe(expected) << "\nlog:\n" << log;
    }

    // The run always leaves the busy state and the extracting flag.
    void ExpectRunClosed() const
    {
        const std::vector<std::pair<bool, bool>> busy {{true, true}, {false, false}};
        EXPECT_EQ(Host.BusyCalls, busy);
        EXPECT_FALSE(Container.Extracting);
    }

    test::TempDir Dir;
    fs::path Out = Dir / "out";
    FakeHost Host;
    TContainer Container {Host};
    int Sources = 0;
};

// Failure messages name a case of a table by its name.
template <typename Case>
    requires requires(const Case& c) { c.Name; }
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.Name;
}

const LoggedEntry kCompleted {"Operation completed", "", liSuccess, false, false};
const LoggedEntry kCancelled {"Operation cancelled.", "", liWarning, false, true};

struct ScopeCase {
    std::string Name;
    std::string Root;  // catalogue path; "" for everything
    std::set<std::string> Written;
    std::vector<std::string> Status;
    std::string LoggedRoot;
    int Total = 0;
};

class ExtractionScopeTest : public ExtractionTest, public ::testing::WithParamInterface<ScopeCase> {};

TEST_P(ExtractionScopeTest, RecreatesTheRangeBelowTheDestination)
{
    const ScopeCase& c = GetParam();
    AddSample();

    const TExtractionResult result = Extract(Node(c.Root));

    EXPECT_EQ(Entries(Out), c.Written);
    const std::map<std::string, std::string> contents {{"a.txt", "alpha"}, {"b.txt", "beta"}, {"top.txt", "top"}};
    for (const std::string& entry : c.Written) {
        if (entry.back() != '/') {
            EXPECT_EQ(test::ReadFile(Out / entry), contents.at(fs::path(entry).filename().string())) << entry;
        }
    }
    EXPECT_EQ(result.Total, c.Total);
    EXPECT_EQ(result.Extracted, c.Total);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_TRUE(result.Error.empty());
    EXPECT_TRUE(result.Failed.empty());
    EXPECT_EQ(Host.Status, c.Status);
    ASSERT_EQ(Host.Log.size(), 2u);
    EXPECT_TRUE(SameEntry(Host.Log[0], {"Extracting", c.LoggedRoot, liInformation, false, false}));
    EXPECT_TRUE(SameEntry(Host.Log[1], kCompleted));
    ExpectRunClosed();
}

INSTANTIATE_TEST_SUITE_P(
    Scopes, ExtractionScopeTest,
    ::testing::Values(
        ScopeCase {"AFile", "top.txt", {"top.txt"}, {"0% Extracting file \"top.txt\"", "File extracted."}, "top.txt", 1},
        ScopeCase {"AFolderWithSubfolders",
                   "Docs",
                   {"Docs/", "Docs/a.txt", "Docs/Sub/", "Docs/Sub/b.txt", "Docs/Sub/Deeper/"},
                   {"0% Extracting file \"a.txt\"", "50% Extracting file \"b.txt\"",
                    "2 of 2 files successfully extracted."},
                   "Docs",
                   2},
        ScopeCase {"ANestedFolderStartsAtItself",
                   "Docs/Sub",
                   {"Sub/", "Sub/b.txt", "Sub/Deeper/"},
                   {"0% Extracting file \"b.txt\"", "File extracted."},
                   "Sub",
                   1},
        ScopeCase {"Everything",
                   "",
                   {"Docs/", "Docs/a.txt", "Docs/Sub/", "Docs/Sub/b.txt", "Docs/Sub/Deeper/", "top.txt"},
                   {"0% Extracting file \"a.txt\"", "33% Extracting file \"b.txt\"", "66% Extracting file \"top.txt\"",
                    "3 of 3 files successfully extracted."},
                   "All files",
                   3}),
    [](const auto& info) { return info.param.Name; });

TEST_F(ExtractionTest, AnEmptyFolderIsCreatedAndReportsNothingCompleted)
{
    TTreeNode* empty = AddFolder(nullptr, "Empty");

    const TExtractionResult result = Extract(empty);

    EXPECT_EQ(Entries(Out), std::set<std::string> {"Empty/"});
    EXPECT_EQ(result.Total, 0);
    EXPECT_EQ(Host.LastStatus(), "0 of 0 files successfully extracted.");
    EXPECT_FALSE(Host.Logged("Operation completed"));
    ExpectRunClosed();
}

TEST_F(ExtractionTest, NothingHappensWithoutCatalogueOrDestinationFolder)
{
    EXPECT_EQ(Extract(nullptr).Total, 0);
    AddFile(nullptr, "a.txt", "alpha");
    test::WriteFile(Dir / "plain-file", "x");
    for (const fs::path& destination : {Dir / "missing", Dir / "plain-file"})
        EXPECT_EQ(ExtractItems(Container, nullptr, destination).Total, 0);
    EXPECT_TRUE(Host.Log.empty());
    EXPECT_TRUE(Host.BusyCalls.empty());
    EXPECT_TRUE(Entries(Out).empty());
}

struct ReplaceCase {
    std::string Name;
    size_t Size = 0;
    bool Replaces = false;
};

class ExtractionReplaceTest : public ExtractionTest, public ::testing::WithParamInterface<ReplaceCase> {};

// Within the in-memory limit an item replaces an existing file; a larger one never does.
TEST_P(ExtractionReplaceTest, AnExistingFileIsReplacedOnlyByAnItemWithinTheLimit)
{
    const ReplaceCase& c = GetParam();
    test::WriteFile(Out / "a.txt", "old");
    const std::string content(c.Size, 'z');
    TTreeNode* file = AddFile(nullptr, "a.txt", content);

    const TExtractionResult result = Extract(file);

    EXPECT_EQ(Entries(Out), std::set<std::string> {"a.txt"});
    EXPECT_EQ(FileSizeOf(Out / "a.txt"), c.Replaces ? static_cast<int64_t>(c.Size) : 3);
    EXPECT_EQ(result.Extracted, c.Replaces ? 1 : 0);
    EXPECT_EQ(Host.LastStatus(), c.Replaces ? "File extracted." : "");
    if (c.Replaces) {
        EXPECT_TRUE(result.Failed.empty());
        EXPECT_TRUE(Host.Logged("Operation completed"));
    } else {
        EXPECT_EQ(result.Failed, std::vector<fs::path> {Written("a.txt")});
        ExpectLogged({"Cannot save output file", "a.txt", liError, false, true});
        EXPECT_FALSE(Host.Logged("Operation completed"));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ExtractionReplaceTest,
                         ::testing::Values(ReplaceCase {"WithinTheLimit", 1000, true},
                                           ReplaceCase {"BeyondTheLimit", static_cast<size_t>(kInMemoryLimit) + 1,
                                                        false}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(ExtractionTest, ACrcErrorKeepsAndCountsTheFileWithAWarning)
{
    TTreeNode* file = AddFile(nullptr, "a.txt", "content");
    file->Item().Crc ^= 1;

    const TExtractionResult result = Extract(nullptr);

    EXPECT_EQ(test::ReadFile(Out / "a.txt"), "content");
    EXPECT_EQ(result.Extracted, 1);
    EXPECT_TRUE(result.Failed.empty());
    EXPECT_EQ(Host.LastStatus(), "File extracted.");
    ExpectLogged({"CRC error on file", "a.txt", liWarning, true, true});
    ExpectLogged(kCompleted);
}

struct FailureCase {
    std::string Name;
    std::string Password;                             // the broken item's own password
    std::function<void(TContainer&, TItemInfo&)> Break;
    LoggedEntry Expected;
};

class ExtractionFailureTest : public ExtractionTest, public ::testing::WithParamInterface<FailureCase> {};

// A failed file is logged with its name and left out; the walk goes on with the next one.
TEST_P(ExtractionFailureTest, IsLoggedAndTheNextFileIsStillExtracted)
{
    const FailureCase& c = GetParam();
    TTreeNode* bad = AddFile(nullptr, "bad.txt", "bad content", c.Password);
    AddFile(nullptr, "good.txt", "good content");
    c.Break(Container, bad->Item());

    const TExtractionResult result = Extract(nullptr);

    EXPECT_EQ(Entries(Out), std::set<std::string> {"good.txt"});
    EXPECT_EQ(result.Total, 2);
    EXPECT_EQ(result.Extracted, 1);
    EXPECT_EQ(result.Failed, std::vector<fs::path> {Written("bad.txt")});
    EXPECT_EQ(Host.LastStatus(), "1 of 2 files successfully extracted.");
    ExpectLogged(c.Expected);
    ExpectLogged(kCompleted);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ExtractionFailureTest,
    ::testing::Values(
        FailureCase {"TemporaryFileMissing", "",
                     [](TContainer&, TItemInfo& item) { fs::remove(item.TmpCmpFile); },
                     {"Temporary file not found", "bad.txt", liError, false, true}},
        FailureCase {"ContainerMissing", "",
                     [](TContainer& container, TItemInfo& item) {
                         item.TmpCmpFile.clear();
                         item.Index = 13;
                         container.FileName = container.WorkingFolder.Path() / "gone.pyxa";
                     },
                     {"Pyxa file not found", "bad.txt", liError, false, true}},
        FailureCase {"DamagedPackedData", "",
                     [](TContainer&, TItemInfo& item) { test::WriteFile(item.TmpCmpFile, "not zlib at all"); },
                     {"Cannot decompress file", "bad.txt", liError, false, true}},
        FailureCase {"WrongPassword", "right",
                     [](TContainer& container, TItemInfo&) {
                         static_cast<FakeHost&>(container.Host).PasswordAnswers.push_back({true, "wrong", false});
                     },
                     {"Invalid password", "bad.txt", liPassword, false, true}}),
    [](const auto& info) { return info.param.Name; });

TEST_F(ExtractionTest, ThreeEncryptedFilesAskOnceWithTheAutomaticBoxChecked)
{
    TTreeNode* folder = AddFolder(nullptr, "Enc");
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        AddFile(folder, name, std::string("secret ") + name, "pw");
    Host.PasswordAnswers.push_back({true, "pw", true});

    const TExtractionResult result = Extract(folder);

    EXPECT_EQ(result.Extracted, 3);
    EXPECT_EQ(test::ReadFile(Out / "Enc" / "three.txt"), "secret three.txt");
    ASSERT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_EQ(Host.PasswordRequests[0].Label, "The file \"one.txt\" is encrypted...");
    EXPECT_TRUE(Host.PasswordRequests[0].ShowAutomatic);
    EXPECT_TRUE(Host.PasswordRequests[0].AutomaticChecked);
    EXPECT_EQ(Container.GlobalPassword, "pw");
    EXPECT_EQ(Host.LastStatus(), "3 of 3 files successfully extracted.");
}

TEST_F(ExtractionTest, CancellingThePasswordPromptEndsTheWholeRun)
{
    AddFile(nullptr, "one.txt", "first", "pw");
    AddFile(nullptr, "two.txt", "second", "pw");

    const TExtractionResult result = Extract(nullptr);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Extracted, 0);
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_TRUE(Entries(Out).empty());
    ExpectLogged({"Cannot decrypt file", "one.txt", liPassword, false, true});
    ExpectLogged(kCancelled);
    EXPECT_EQ(Host.LastStatus(), "Operation cancelled.");
    ExpectRunClosed();
}

TEST_F(ExtractionTest, CancelStopsBeforeTheNextNodeAndKeepsWhatWasWritten)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        AddFile(nullptr, name, name);
    Host.CancelAfterLoops = 1;  // clicked while the first file is on its way

    const TExtractionResult result = Extract(nullptr);

    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(result.Extracted, 1);
    EXPECT_EQ(result.Total, 3);
    EXPECT_EQ(Entries(Out), std::set<std::string> {"1.txt"});
    EXPECT_EQ(Host.LastStatus(), "Operation cancelled.");
    ExpectLogged(kCancelled);
    EXPECT_FALSE(Host.Logged("Operation completed"));
    ExpectRunClosed();
}

struct RestrictedCase {
    std::string Name;
    std::string Automatic;
    std::optional<std::string> Answer;  // none: the prompt is cancelled
    int Extracted = 0;
    std::string Status;
    bool Skipped = false;
};

class ExtractionRestrictedTest : public ExtractionTest, public ::testing::WithParamInterface<RestrictedCase> {};

// Docs holds a.txt, the restricted folder Secret (c.txt, Inner/d.txt), b.txt and e.txt.
TEST_P(ExtractionRestrictedTest, AClosedRestrictedFolderOpensWithItsPasswordOrIsSkipped)
{
    const RestrictedCase& c = GetParam();
    TTreeNode* docs = AddFolder(nullptr, "Docs");
    AddFile(docs, "a.txt", "a");
    TTreeNode* secret = AddFolder(docs, "Secret");
    secret->Item().Encrypted = true;
    secret->Item().TmpPass = "s3cret";
    AddFile(secret, "c.txt", "c");
    AddFile(AddFolder(secret, "Inner"), "d.txt", "d");
    AddFile(docs, "b.txt", "b");
    AddFile(docs, "e.txt", "e");
    Container.GlobalPassword = c.Automatic;
    if (c.Answer)
        Host.PasswordAnswers.push_back({true, *c.Answer, false});

    const TExtractionResult result = Extract(docs);

    EXPECT_EQ(result.Total, 5);
    EXPECT_EQ(result.Extracted, c.Extracted);
    EXPECT_EQ(result.Cancelled, !c.Answer && c.Automatic.empty());
    EXPECT_EQ(Host.LastStatus(), c.Status);
    EXPECT_EQ(fs::exists(Out / "Docs" / "Secret"), !c.Skipped);
    EXPECT_EQ(Host.PasswordRequests.size(), c.Automatic.empty() ? 1u : 0u);
    if (c.Skipped) {
        ExpectLogged({"This folder has not been extracted", "Secret", liWarning, true, true});
    } else {
        EXPECT_EQ(test::ReadFile(Out / "Docs" / "Secret" / "Inner" / "d.txt"), "d");
    }
    ExpectRunClosed();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExtractionRestrictedTest,
    ::testing::Values(
        RestrictedCase {"RightPassword", "", "s3cret", 5, "5 of 5 files successfully extracted.", false},
        RestrictedCase {"AutomaticPassword", "s3cret", std::nullopt, 5, "5 of 5 files successfully extracted.", false},
        RestrictedCase {"WrongPasswordSkipsAndGoesOn", "", "S3CRET", 3, "3 of 5 files successfully extracted.", true},
        RestrictedCase {"CancelSkipsAndEndsTheRun", "", std::nullopt, 1, "Operation cancelled.", true}),
    [](const auto& info) { return info.param.Name; });

struct DateCase {
    std::string Name;
    bool Restore = false;
};

class ExtractionDateTest : public ExtractionTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(ExtractionDateTest, TheOriginalDateIsRestoredAsLocalTimeWhenSet)
{
    TDateTime original = 0;
    ASSERT_TRUE(TryEncodeDateTime({2009, 1, 2, 3, 4, 5, 0}, original));
    TTreeNode* file = AddFile(nullptr, "dated.txt", "dated");
    // Added in another time zone: the wall-clock time is what comes back.
    file->Item().Original = {original, -330, true};
    Container.RestoreOriginalDate = GetParam().Restore;

    ASSERT_EQ(Extract(file).Extracted, 1);

    const TDateTime written = FileDateOf(Out / "dated.txt");
    if (GetParam().Restore) {
        EXPECT_NEAR(written, original, 0.5 / 86400);
    } else {
        EXPECT_GT(written, original + 365);
    }
}

INSTANTIATE_TEST_SUITE_P(Setting, ExtractionDateTest,
                         ::testing::Values(DateCase {"On", true}, DateCase {"Off", false}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(ExtractionTest, AFolderThatCannotBeMadeEndsTheRunCleanly)
{
    TTreeNode* docs = AddFolder(nullptr, "Docs");
    AddFile(docs, "a.txt", "alpha");
    AddFile(nullptr, "z.txt", "zulu");
    test::WriteFile(Out / "Docs", "a file in the way");

    const TExtractionResult result = Extract(nullptr);

    EXPECT_EQ(result.Error.rfind("Cannot create folder \"" + Written("Docs").string() + "\"", 0), 0u) << result.Error;
    EXPECT_EQ(Host.LastStatus(), result.Error);
    ExpectLogged({"Cannot create folder", Written("Docs").string(), liError, true, true});
    EXPECT_EQ(result.Extracted, 0);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(Entries(Out), std::set<std::string> {"Docs"});
    EXPECT_EQ(test::ReadFile(Out / "Docs"), "a file in the way");
    EXPECT_FALSE(Host.Logged("Operation completed"));
    ExpectRunClosed();
}

// Item blocks and the index entries that point at them, written by hand.
class HandWrittenIndex {
public:
    std::string File(const std::string& xmlName, const std::string& content)
    {
        const int64_t offset = 13 + static_cast<int64_t>(FBlocks.size());
        FBlocks += test::ItemBlockBytes(test::ZlibCompress(content));
        return "<File Name=\"" + xmlName + "\" Size=\"" + std::to_string(content.size()) +
               "\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\" Index=\"" +
               std::to_string(offset) + "\" Crc=\"" + std::to_string(static_cast<int32_t>(test::ZlibCrc(content))) +
               "\"/>\n";
    }
    static std::string Folder(const std::string& xmlName, const std::string& children)
    {
        return "<Folder Name=\"" + xmlName + "\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\">\n" +
               children + "</Folder>\n";
    }
    std::string Bytes(const std::string& items) const
    {
        return test::ContainerBytes(FBlocks, test::IndexDocumentText(items));
    }

private:
    std::string FBlocks;
};

TEST_F(ExtractionTest, HostileNamesFromAnIndexNeverLeaveTheDestination)
{
    HandWrittenIndex index;
    std::string items = HandWrittenIndex::Folder(
        "..", index.File(".", "dot") + index.File("../../extract-evil-probe", "evil"));
    items += index.File("a/../../extract-escape-probe", "escape");
    items += index.File("/extract-abs-probe", "abs");
    items += index.File("x&#0;y", "nul");  // the parser ends the value at the NUL
    items += index.File("ctl&#x1;name", "control");
    items += HandWrittenIndex::Folder("Deep", index.File("", "unnamed"));
    test::WriteFile(Dir / "hostile.pyxa", index.Bytes(items));
    ASSERT_EQ(ReadContainer(Container, Dir / "hostile.pyxa"), OpenResult::Ok);
    ASSERT_EQ(Container.Tree.Count(), 9);
    std::set<std::string> around = Entries(Dir.Path());

    const TExtractionResult result = Extract(nullptr);

    std::set<std::string> aroundAfter = Entries(Dir.Path());
    for (std::set<std::string>* entries : {&around, &aroundAfter})
        std::erase_if(*entries, [](const std::string& entry) { return entry.rfind("out/", 0) == 0; });
    EXPECT_EQ(aroundAfter, around);
    EXPECT_FALSE(fs::exists("/extract-abs-probe"));
    for (const fs::path& above : {Dir.Path().parent_path(), Dir.Path().parent_path().parent_path()}) {
        EXPECT_FALSE(fs::exists(above / "extract-evil-probe"));
        EXPECT_FALSE(fs::exists(above / "extract-escape-probe"));
    }
    EXPECT_EQ(Entries(Out),
              (std::set<std::string> {"No Name/", "No Name/No Name", "No Name/.._.._extract-evil-probe",
                                      "a_.._.._extract-escape-probe", "_extract-abs-probe", "x", "ctl_name", "Deep/",
                                      "Deep/No Name"}));
    EXPECT_EQ(test::ReadFile(Out / "No Name" / ".._.._extract-evil-probe"), "evil");
    EXPECT_EQ(test::ReadFile(Out / "Deep" / "No Name"), "unnamed");
    EXPECT_EQ(result.Extracted, 7);
    EXPECT_EQ(Host.LastStatus(), "7 of 7 files successfully extracted.");
    ExpectLogged({"Name changed to \"No Name\" for extraction", "..", liWarning, false, true});
    ExpectLogged({"Name changed to \"a_.._.._extract-escape-probe\" for extraction", "a/../../extract-escape-probe",
                  liWarning, false, true});
    ExpectLogged({"Name changed to \"ctl_name\" for extraction", "ctl\\x01name", liWarning, false, true});
    ExpectLogged({"Name changed to \"No Name\" for extraction", "", liWarning, false, true});
}

TEST_F(ExtractionTest, ANulOrSlashInANameMadeInMemoryIsCleanedToo)
{
    TTreeNode* folder = AddFolder(nullptr, "a/..");
    AddFile(folder, std::string("x\0y", 3), "nul");

    EXPECT_EQ(Extract(nullptr).Extracted, 1);

    EXPECT_EQ(Entries(Out), (std::set<std::string> {"a_../", "a_../x_y"}));
    ExpectLogged({"Name changed to \"x_y\" for extraction", "x\\x00y", liWarning, false, true});
}

struct LinkCase {
    std::string Name;
    // Plants links in the destination before the run.
    std::function<void(const fs::path& out, const fs::path& elsewhere)> Plant;
    int Extracted = 0;
    std::vector<std::string> Refused;  // below the destination
};

class ExtractionLinkTest : public ExtractionTest, public ::testing::WithParamInterface<LinkCase> {};

// Docs holds a.txt and Sub/b.txt. A link planted in the destination must not lead a write elsewhere.
TEST_P(ExtractionLinkTest, APlantedLinkIsNeverFollowed)
{
    const LinkCase& c = GetParam();
    const fs::path elsewhere = Dir / "elsewhere";
    test::WriteFile(elsewhere / "victim.txt", "victim");
    TTreeNode* docs = AddFolder(nullptr, "Docs");
    AddFile(docs, "a.txt", "alpha");
    AddFile(AddFolder(docs, "Sub"), "b.txt", "beta");
    c.Plant(Out, fs::canonical(elsewhere));

    const TExtractionResult result = Extract(docs);

    EXPECT_EQ(Entries(elsewhere), std::set<std::string> {"victim.txt"});
    EXPECT_EQ(test::ReadFile(elsewhere / "victim.txt"), "victim");
    EXPECT_EQ(result.Total, 2);
    EXPECT_EQ(result.Extracted, c.Extracted);
    std::vector<fs::path> refused;
    for (const std::string& path : c.Refused) {
        refused.push_back(Written(path));
        ExpectLogged({"Not extracted: the path leaves the destination folder", fs::path(path).filename().string(),
                      liError, false, true});
    }
    EXPECT_EQ(result.Failed, refused);
    EXPECT_FALSE(result.Cancelled);
    if (c.Extracted == 2) {
        EXPECT_FALSE(fs::is_symlink(Out / "Docs" / "a.txt"));
        EXPECT_EQ(test::ReadFile(Out / "Docs" / "a.txt"), "alpha");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, ExtractionLinkTest,
    ::testing::Values(
        LinkCase {"TheFolderItself",
                  [](const fs::path& out, const fs::path& elsewhere) {
                      fs::create_directory_symlink(elsewhere, out / "Docs");
                  },
                  0,
                  {"Docs"}},
        LinkCase {"ASubfolder",
                  [](const fs::path& out, const fs::path& elsewhere) {
                      fs::create_directory(out / "Docs");
                      fs::create_directory_symlink(elsewhere, out / "Docs" / "Sub");
                  },
                  1,
                  {"Docs/Sub"}},
        LinkCase {"AFileNameIsReplacedNotItsTarget",
                  [](const fs::path& out, const fs::path& elsewhere) {
                      fs::create_directory(out / "Docs");
                      fs::create_symlink(elsewhere / "victim.txt", out / "Docs" / "a.txt");
                  },
                  2,
                  {}}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace pyxa

namespace pyxa {
namespace {

// Files are finished on worker threads; what the user reads must not show it.
TEST_F(ExtractionTest, ManyFilesReportInCatalogueOrder)
{
    TTreeNode* folder = AddFolder(nullptr, "Many");
    std::vector<LoggedEntry> expected {{"Extracting", "All files", liInformation, false, false}};
    std::vector<fs::path> failed;
    for (int i = 0; i < 60; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        TTreeNode* node = AddFile(folder, name, std::string(1000 + i * 97, static_cast<char>('a' + i % 26)));
        if (i % 9 == 4) {
            fs::remove(node->Item().TmpCmpFile);
            expected.push_back({ResultMessage(UnpackResult::TemporaryNotFound), name, liError, false, true});
            failed.push_back(Written("Many") / name);
        } else if (i % 13 == 7) {
            node->Item().Crc ^= 1;
            expected.push_back({"CRC error on file", name, liWarning, true, true});
        }
    }
    expected.push_back(kCompleted);

    const TExtractionResult result = Extract(nullptr);

    ASSERT_EQ(Host.Log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(SameEntry(Host.Log[i], expected[i])) << i << ": " << Describe(Host.Log[i]);
    EXPECT_EQ(result.Failed, failed);
    EXPECT_EQ(result.Total, 60);
    EXPECT_EQ(result.Extracted, 60 - static_cast<int>(failed.size()));
    for (int i = 0; i < 60; ++i) {
        if (i % 9 == 4)
            continue;
        EXPECT_EQ(test::ReadFile(Written("Many/f" + std::to_string(i) + ".txt")),
                  std::string(1000 + i * 97, static_cast<char>('a' + i % 26)));
    }
    EXPECT_EQ(Host.LastStatus(), std::to_string(result.Extracted) + " of 60 files successfully extracted.");
    ExpectRunClosed();
}

TEST_F(ExtractionTest, ALaterFileForTheSameDestinationWins)
{
    for (int i = 0; i < 8; ++i)
        AddFile(nullptr, "same.txt", "version " + std::to_string(i) + std::string(20000, 'x'));

    const TExtractionResult result = Extract(nullptr);

    EXPECT_EQ(result.Extracted, 8);
    EXPECT_EQ(test::ReadFile(Written("same.txt")), "version 7" + std::string(20000, 'x'));
    EXPECT_EQ(Entries(Out), std::set<std::string> {"same.txt"});
}

// A hostile index may hold a file and then a folder of the same name: the file is written first
// and the folder then cannot be made, as one item after the other would have it.
TEST_F(ExtractionTest, AFileBeforeAFolderOfTheSameNameIsWrittenFirst)
{
    AddFile(nullptr, "clash", "the file");
    TTreeNode* folder = AddFolder(nullptr, "clash");
    AddFile(folder, "inner.txt", "inner");

    const TExtractionResult result = Extract(nullptr);

    EXPECT_FALSE(result.Error.empty());
    EXPECT_EQ(result.Extracted, 1);
    EXPECT_EQ(test::ReadFile(Written("clash")), "the file");
    EXPECT_EQ(Entries(Out), std::set<std::string> {"clash"});
    ExpectRunClosed();
}

}  // namespace
}  // namespace pyxa
