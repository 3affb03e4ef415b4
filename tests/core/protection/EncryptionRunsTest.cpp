#include "protection/EncryptionRuns.h"

#include "codecs/AesLib.h"
#include "codecs/ItemPipeline.h"
#include "container/OpenContainer.h"
#include "container/SaveContainer.h"
#include "helpers/ContainerBytes.h"
#include "helpers/CryptBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace pyxa::test {
namespace {

namespace fs = std::filesystem;

const std::string kPassword = "correct horse";

// Compressible content that differs for every name.
std::string ContentOf(const std::string& name)
{
    std::string text;
    for (int line = 0; text.size() < 30000; ++line)
        text += name + " line " + std::to_string(line) + ": kept in the packer\n";
    return text;
}

// Everything of an item that encrypting or decrypting may change, with its packed bytes.
struct TItemState {
    bool Encrypted = false;
    std::string TmpPass;
    int64_t Index = 0;
    fs::path TmpCmpFile;
    uint32_t TmpCrcFile = 0;
    uint32_t Crc = 0;
    std::string Packed;
    bool operator==(const TItemState&) const = default;
};

enum class TDirection { Encrypt, Decrypt };

std::string DirectionName(TDirection direction)
{
    return direction == TDirection::Encrypt ? "Encrypt" : "Decrypt";
}

void PrintTo(TDirection direction, std::ostream* os)
{
    *os << DirectionName(direction);
}

// "encrypted" or "decrypted" in place of the first "*".
std::string Worded(std::string text, TDirection direction)
{
    const size_t at = text.find('*');
    if (at != std::string::npos)
        text.replace(at, 1, direction == TDirection::Encrypt ? "encrypted" : "decrypted");
    return text;
}

class EncryptionRunsTest : public ::testing::Test {
protected:
    EncryptionRunsTest() { Container.WorkingFolder.Create(Dir.Path()); }
    ~EncryptionRunsTest() override { FailFileWritesAfter(-1); }

    fs::path Archive() const { return Dir / "box.pyxa"; }

    TTreeNode* AddFolder(TTreeNode* parent, const std::string& name, bool restricted = false,
                         const std::string& folderPassword = "")
    {
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->IsFolder = true;
        item->Encrypted = restricted;
        item->TmpPass = folderPassword;
        return Container.Tree.Add(parent, std::move(item));
    }

    // A pending file packed as adding does; with a password it is encrypted, and its TmpPass is
    // forgotten as in a later session.
    TTreeNode* AddFile(TTreeNode* parent, const std::string& name, const std::string& password = "")
    {
        const fs::path source = Dir / "in" / name;
        WriteFile(source, ContentOf(name));
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->Size = static_cast<int64_t>(ContentOf(name).size());
        EXPECT_EQ(PackItemInMemory(Container, source, password, item.get()), PackResult::Ok);
        item->Index = -1;
        item->TmpPass.clear();
        return Container.Tree.Add(parent, std::move(item));
    }

    void SaveAndReopen()
    {
        if (Container.FileName.empty())
            Host.SaveTargets.push_back(Archive().string());
        ASSERT_EQ(SaveContainer(Container, false), SaveResult::Ok);
        ASSERT_EQ(ReadContainer(Container, Archive()), OpenResult::Ok);
        Host = FakeHost();
    }

    TTreeNode* Node(const std::string& name) const
    {
        for (TTreeNode* node : Container.Tree.Nodes()) {
            if (node->Text() == name)
                return node;
        }
        throw std::runtime_error("no node " + name);
    }
    TItemInfo& Item(const std::string& name) const { return Node(name)->Item(); }

    std::string Packed(const TItemInfo& item) const
    {
        if (!item.TmpCmpFile.empty())
            return ReadFile(item.TmpCmpFile);
        return ReadItemBlock(ReadFile(Archive()), item.Index).Packed;
    }

    TItemState State(const TItemInfo& item) const
    {
        return {item.Encrypted, item.TmpPass, item.Index, item.TmpCmpFile, item.TmpCrcFile, item.Crc, Packed(item)};
    }

    // The item's content as extraction delivers it, or empty when it cannot.
    std::string Extracted(TItemInfo& item)
    {
        const fs::path dest = Dir / "out" / std::to_string(++Extractions);
        fs::create_directories(dest.parent_path());
        if (UnpackItem(Container, item, dest, false) != UnpackResult::Ok)
            return {};
        return ReadFile(dest);
    }

    size_t WorkingFileCount() const
    {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(Container.WorkingFolder.Path()))
            count += entry.is_regular_file() ? 1 : 0;
        return count;
    }

    // Log entries that report a problem (they bring the log up).
    std::vector<LoggedEntry> Problems() const
    {
        std::vector<LoggedEntry> problems;
        for (const LoggedEntry& entry : Host.Log) {
            if (entry.ShowLog)
                problems.push_back(entry);
        }
        return problems;
    }

    TCryptRunTotals Run(TDirection direction, TTreeNode* start, const std::string& password,
                        const TFolderOpener& openFolder = {})
    {
        return direction == TDirection::Encrypt ? EncryptItems(Container, start, password, openFolder)
                                                : DecryptItems(Container, start, password, openFolder);
    }

    TempDir Dir;
    FakeHost Host;
    TContainer Container {Host};
    int Extractions = 0;
};

void ExpectEntry(const LoggedEntry& entry, const std::string& text, const std::string& fileName, int icon,
                 bool popup, bool showLog)
{
    EXPECT_EQ(entry.Text, text);
    EXPECT_EQ(entry.FileName, fileName);
    EXPECT_EQ(entry.Icon, icon);
    EXPECT_EQ(entry.Popup, popup);
    EXPECT_EQ(entry.ShowLog, showLog);
}

// ---- one item, pending or stored ----

enum class TPlace { Pending, Stored };

void PrintTo(TPlace place, std::ostream* os)
{
    *os << (place == TPlace::Pending ? "Pending" : "Stored");
}

class EncryptionOfOneItem : public EncryptionRunsTest, public ::testing::WithParamInterface<TPlace> {
protected:
    TItemInfo& PlacedFile(const std::string& name, const std::string& password = "")
    {
        AddFile(nullptr, name, password);
        if (GetParam() == TPlace::Stored)
            SaveAndReopen();
        return Item(name);
    }
};

TEST_P(EncryptionOfOneItem, EncryptingWrapsTheZlibStreamAndDecryptingGivesItBackByteForByte)
{
    TItemInfo& item = PlacedFile("notes.txt");
    const TItemState before = State(item);
    ASSERT_EQ(ZlibDecompress(before.Packed), ContentOf("notes.txt"));

    ASSERT_EQ(EncryptStoredItem(Container, &item, kPassword), EncryptItemResult::Ok);
    EXPECT_TRUE(item.Encrypted);
    EXPECT_EQ(item.TmpPass, kPassword);
    EXPECT_EQ(item.Crc, before.Crc);
    EXPECT_EQ(item.Index, before.Index) << "a stored item becomes replaced, a pending one stays pending";
    const std::string encrypted = ReadFile(item.TmpCmpFile);
    EXPECT_EQ(item.TmpCrcFile, ZlibCrc(encrypted));
    EXPECT_EQ(Decrypted(encrypted, kPassword), before.Packed) << "the zlib stream is wrapped as it is";
    EXPECT_EQ(WorkingFileCount(), 1u) << "the block copy or the former temporary file is gone";

    item.TmpPass.clear();
    Host.PasswordAnswers.push_back({true, kPassword, false});
    EXPECT_EQ(Extracted(item), ContentOf("notes.txt"));
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);

    ASSERT_EQ(DecryptStoredItem(Container, &item, kPassword), DecryptItemResult::Ok);
    EXPECT_FALSE(item.Encrypted);
    EXPECT_EQ(item.TmpPass, "");
    EXPECT_EQ(item.Crc, before.Crc);
    EXPECT_EQ(item.Index, before.Index);
    EXPECT_EQ(ReadFile(item.TmpCmpFile), before.Packed) << "the same zlib stream comes back";
    EXPECT_EQ(item.TmpCrcFile, ZlibCrc(before.Packed));
    EXPECT_EQ(WorkingFileCount(), 1u);
    EXPECT_EQ(Extracted(item), ContentOf("notes.txt"));
    EXPECT_EQ(Host.PasswordRequests.size(), 1u) << "a decrypted item needs no password";
    EXPECT_TRUE(Problems().empty());
}

TEST_P(EncryptionOfOneItem, AWrongPasswordChangesNothingAndIsLogged)
{
    TItemInfo& item = PlacedFile("secret.txt", kPassword);
    const TItemState before = State(item);
    const size_t workingFiles = WorkingFileCount();

    const TCryptRunTotals totals = DecryptItems(Container, Node("secret.txt"), "wrong password");

    EXPECT_EQ(totals.Processed, 1);
    EXPECT_EQ(totals.Done, 0);
    EXPECT_EQ(State(item), before);
    EXPECT_EQ(WorkingFileCount(), workingFiles);
    ASSERT_EQ(Problems().size(), 1u);
    ExpectEntry(Problems()[0], "Invalid password", "secret.txt", liPassword, false, true);
    EXPECT_EQ(Host.LastStatus(), "");
    EXPECT_FALSE(Host.Logged("Operation completed"));
}

TEST_P(EncryptionOfOneItem, APasswordThatOpenedTheItemBeforeWinsOverTheOneGiven)
{
    struct TCase {
        const char* TmpPass;
        const char* Given;
        DecryptItemResult Expected;
    };
    for (const TCase& c : {TCase {"correct horse", "typed wrongly", DecryptItemResult::Ok},
                           TCase {"stale password", "correct horse", DecryptItemResult::InvalidPassword}}) {
        SCOPED_TRACE(c.TmpPass);
        Container.CloseCatalogue(true);
        TItemInfo& item = PlacedFile("secret.txt", kPassword);
        item.TmpPass = c.TmpPass;
        TItemState expected = State(item);
        expected.TmpPass.clear();  // a password that failed is forgotten

        EXPECT_EQ(DecryptStoredItem(Container, &item, c.Given), c.Expected);
        if (c.Expected == DecryptItemResult::Ok) {
            EXPECT_FALSE(item.Encrypted);
        } else {
            EXPECT_EQ(State(item), expected);
            EXPECT_EQ(DecryptStoredItem(Container, &item, c.Given), DecryptItemResult::Ok) << "asked again, it works";
        }
        EXPECT_EQ(Extracted(item), ContentOf("secret.txt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Places, EncryptionOfOneItem, ::testing::Values(TPlace::Pending, TPlace::Stored),
                         [](const auto& info) { return info.param == TPlace::Pending ? "Pending" : "Stored"; });

TEST_F(EncryptionRunsTest, AReplacedItemIsEncryptedFromItsNewestData)
{
    AddFile(nullptr, "draft.txt");
    SaveAndReopen();
    TItemInfo& item = Item("draft.txt");
    // Taken back after editing: the new data waits in a temporary file beside the old block.
    WriteFile(Dir / "in" / "edited.txt", "the edited text");
    ASSERT_EQ(PackItemInMemory(Container, Dir / "in" / "edited.txt", "", &item), PackResult::Ok);
    const fs::path edited = item.TmpCmpFile;

    ASSERT_EQ(EncryptStoredItem(Container, &item, kPassword), EncryptItemResult::Ok);
    EXPECT_FALSE(fs::exists(edited));
    EXPECT_EQ(Extracted(item), "the edited text");
}

TEST_F(EncryptionRunsTest, ASavedEncryptionNeedsThePasswordAfterReopeningAndASavedDecryptionDoesNot)
{
    AddFile(nullptr, "a.txt");
    AddFile(AddFolder(nullptr, "Docs"), "b.txt");
    SaveAndReopen();
    const std::string zlibA = Packed(Item("a.txt"));

    EXPECT_EQ(EncryptItems(Container, nullptr, kPassword).Done, 2);
    SaveAndReopen();
    for (const char* name : {"a.txt", "b.txt"}) {
        EXPECT_TRUE(Item(name).Encrypted) << name;
        EXPECT_TRUE(Item(name).IsStored()) << name;
    }
    EXPECT_EQ(Decrypted(Packed(Item("a.txt")), kPassword), zlibA);

    struct TAttempt {
        bool Answered;
        const char* Password;
        const char* Content;
    };
    const std::string content = ContentOf("a.txt");
    for (const TAttempt& attempt : {TAttempt {false, "", ""}, TAttempt {true, "wrong password", ""},
                                    TAttempt {true, "correct horse", content.c_str()}}) {
        SCOPED_TRACE(attempt.Password);
        Host.PasswordAnswers.push_back({attempt.Answered, attempt.Password, false});
        EXPECT_EQ(Extracted(Item("a.txt")), attempt.Content);
    }

    EXPECT_EQ(DecryptItems(Container, nullptr, kPassword).Done, 2);
    SaveAndReopen();
    EXPECT_FALSE(Item("a.txt").Encrypted);
    EXPECT_EQ(Packed(Item("a.txt")), zlibA);
    EXPECT_EQ(Extracted(Item("b.txt")), ContentOf("b.txt"));
    EXPECT_TRUE(Host.PasswordRequests.empty());
}

// ---- runs over folders ----

struct TRunCase {
    const char* Start;  // empty: nothing selected
    const char* Status;
    int32_t Processed;
    int32_t Done;
    std::vector<std::string> Working;  // files in the order the run takes them
};

void PrintTo(const TRunCase& c, std::ostream* os)
{
    *os << "start \"" << c.Start << "\"";
}

// Docs/one.txt, Docs/Sub/two.txt, Docs/three.txt, Docs/odd.txt, Empty/, top.txt. The odd file is
// already in the state the run makes; all others are in the other state.
class EncryptionFolderRun : public EncryptionRunsTest,
                            public ::testing::WithParamInterface<std::tuple<TDirection, TRunCase>> {
protected:
    TDirection Direction() const { return std::get<0>(GetParam()); }
    const TRunCase& Case() const { return std::get<1>(GetParam()); }

    void MakeTree()
    {
        const std::string targets = Direction() == TDirection::Encrypt ? "" : kPassword;
        const std::string odd = Direction() == TDirection::Encrypt ? kPassword : "";
        TTreeNode* docs = AddFolder(nullptr, "Docs");
        AddFile(docs, "one.txt", targets);
        AddFile(AddFolder(docs, "Sub"), "two.txt", targets);
        AddFile(docs, "three.txt", targets);
        AddFile(docs, "odd.txt", odd);
        AddFolder(nullptr, "Empty");
        AddFile(nullptr, "top.txt", targets);
    }
};

TEST_P(EncryptionFolderRun, ChangesEveryFileBelowTheStartAndReportsTheCounts)
{
    MakeTree();
    TTreeNode* start = *Case().Start ? Node(Case().Start) : nullptr;
    std::vector<TTreeNode*> range = start ? SubtreeNodes(start) : Container.Tree.Nodes();
    const bool encrypting = Direction() == TDirection::Encrypt;

    const TCryptRunTotals totals = Run(Direction(), start, kPassword);

    Container.GlobalPassword = kPassword;  // for extracting the files the run did not take

    EXPECT_EQ(totals.Processed, Case().Processed);
    EXPECT_EQ(totals.Done, Case().Done);
    EXPECT_FALSE(totals.Cancelled);
    EXPECT_EQ(Host.LastStatus(), Worded(Case().Status, Direction()));
    for (TTreeNode* node : Container.Tree.Nodes()) {
        if (node->IsFolder())
            continue;
        const bool inRange = std::find(range.begin(), range.end(), node) != range.end();
        const bool wasTarget = node->Text() != "odd.txt";
        EXPECT_EQ(node->Item().Encrypted, inRange || !wasTarget ? encrypting : !encrypting) << node->Text();
        EXPECT_EQ(Extracted(node->Item()), ContentOf(node->Text())) << node->Text();
    }
    std::vector<std::string> working;
    const std::string prefix = encrypting ? "Encrypting \"" : "Decrypting \"";
    for (const std::string& status : Host.Status) {
        if (status.rfind(prefix, 0) == 0)
            working.push_back(status);
    }
    std::vector<std::string> expectedWorking;
    for (const std::string& name : Case().Working)
        expectedWorking.push_back(prefix + name + "\", please wait...");
    EXPECT_EQ(working, expectedWorking);

    ASSERT_FALSE(Host.Log.empty());
    ExpectEntry(Host.Log.front(), encrypting ? "Encrypting file/s" : "Decrypting file/s",
                *Case().Start ? Case().Start : "All files", liInformation, false, false);
    EXPECT_EQ(Host.Logged("Operation completed"), Case().Done >= 1);
    EXPECT_TRUE(Problems().empty()) << "a file already in that state is not a failure";
    EXPECT_TRUE(Container.ModifiedInd && Container.ModifiedDat) << "marked even when nothing changed";
    EXPECT_EQ(Host.BusyCalls, (std::vector<std::pair<bool, bool>> {{true, true}, {false, false}}));
}

const TRunCase kRunCases[] = {
    {"Docs", "3 of 4 files successfully *.", 4, 3, {"one.txt", "two.txt", "three.txt", "odd.txt"}},
    {"", "4 of 5 files successfully *.", 5, 4, {"one.txt", "two.txt", "three.txt", "odd.txt", "top.txt"}},
    {"Empty", "0 of 0 files successfully *.", 0, 0, {}},
    {"Sub", "File *.", 1, 1, {"two.txt"}},
    {"odd.txt", "", 1, 0, {"odd.txt"}},
};

INSTANTIATE_TEST_SUITE_P(Runs, EncryptionFolderRun,
                         ::testing::Combine(::testing::Values(TDirection::Encrypt, TDirection::Decrypt),
                                            ::testing::ValuesIn(kRunCases)),
                         [](const auto& info) {
                             std::string start = std::get<1>(info.param).Start;
                             start = start.empty() ? "All" : start.substr(0, start.find('.'));
                             return DirectionName(std::get<0>(info.param)) + "_" + start;
                         });

TEST_F(EncryptionRunsTest, ACancelStopsTheRunBeforeTheNextFileAndKeepsWhatWasDone)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"})
        AddFile(nullptr, name);
    Host.CancelAfterLoops = 2;  // the user clicks while the second file is under way

    const TCryptRunTotals totals = EncryptItems(Container, nullptr, kPassword);

    EXPECT_TRUE(totals.Cancelled);
    EXPECT_EQ(totals.Processed, 2);
    EXPECT_TRUE(Item("1.txt").Encrypted);
    EXPECT_TRUE(Item("2.txt").Encrypted);
    EXPECT_FALSE(Item("3.txt").Encrypted);
    EXPECT_EQ(Host.LastStatus(), "Operation cancelled.");
    ExpectEntry(Host.Log.back(), "Operation cancelled.", "", liWarning, false, true);
    EXPECT_FALSE(Host.Logged("Operation completed"));
}

// ---- restricted folders ----

struct TRestrictedCase {
    const char* Name = "";
    TDirection Direction = TDirection::Encrypt;
    const char* FolderPassword = "";
    std::vector<TPasswordAnswer> Answers {};  // to the restriction check's prompts
    std::string Automatic {};
    bool Expanded = false;
    std::function<bool()> Opener {};  // a front end's opener; null: the run checks by itself
    std::vector<std::string> Changed {};
    size_t Prompts = 0;
    bool Skipped = false;
    bool Cancelled = false;
};

void PrintTo(const TRestrictedCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EncryptionRestrictedFolder : public EncryptionRunsTest, public ::testing::WithParamInterface<TRestrictedCase> {};

// Private (restricted) holds hidden.txt and Inner/deep.txt; open.txt follows it.
TEST_P(EncryptionRestrictedFolder, AFolderThatStaysClosedIsSkippedWithEverythingBelowIt)
{
    const TRestrictedCase& c = GetParam();
    const std::string packedWith = c.Direction == TDirection::Encrypt ? "" : kPassword;
    TTreeNode* privateFolder = AddFolder(nullptr, "Private", true, c.FolderPassword);
    privateFolder->Expanded = c.Expanded;
    AddFile(privateFolder, "hidden.txt", packedWith);
    AddFile(AddFolder(privateFolder, "Inner"), "deep.txt", packedWith);
    AddFile(nullptr, "open.txt", packedWith);
    Host.PasswordAnswers.assign(c.Answers.begin(), c.Answers.end());
    Container.GlobalPassword = c.Automatic;
    std::vector<std::string> asked;
    TFolderOpener opener;
    if (c.Opener) {
        opener = [&](TTreeNode& folder) {
            asked.push_back(folder.Text());
            return c.Opener();
        };
    }

    const TCryptRunTotals totals = Run(c.Direction, nullptr, kPassword, opener);

    std::vector<std::string> changed;
    for (const char* name : {"hidden.txt", "deep.txt", "open.txt"}) {
        if (Item(name).Encrypted == (c.Direction == TDirection::Encrypt))
            changed.push_back(name);
    }
    EXPECT_EQ(changed, c.Changed);
    EXPECT_EQ(totals.Done, static_cast<int32_t>(c.Changed.size()));
    EXPECT_EQ(totals.Cancelled, c.Cancelled);
    EXPECT_EQ(Host.PasswordRequests.size(), c.Prompts);
    for (const TPasswordRequest& request : Host.PasswordRequests)
        EXPECT_EQ(request.Label, "The folder \"Private\" is open protected...");
    if (c.Skipped) {
        ASSERT_FALSE(Problems().empty());
        ExpectEntry(Problems()[0], Worded("This folder has not been *", c.Direction), "Private", liWarning, true, true);
    } else {
        EXPECT_TRUE(Problems().empty());
    }
    EXPECT_EQ(asked, (c.Opener ? std::vector<std::string> {"Private"} : std::vector<std::string> {}));
}

const std::vector<std::string> kAllThree {"hidden.txt", "deep.txt", "open.txt"};

const TRestrictedCase kRestrictedCases[] = {
    {.Name = "RightPassword", .Direction = TDirection::Encrypt, .FolderPassword = "folder pw",
     .Answers = {{true, "folder pw", false}}, .Changed = kAllThree, .Prompts = 1},
    {.Name = "WrongPassword", .Direction = TDirection::Decrypt, .FolderPassword = "folder pw",
     .Answers = {{true, "Folder pw", false}}, .Changed = {"open.txt"}, .Prompts = 1, .Skipped = true},
    {.Name = "PromptCancelled", .Direction = TDirection::Encrypt, .FolderPassword = "folder pw",
     .Answers = {{false, "", false}}, .Changed = {}, .Prompts = 1, .Skipped = true, .Cancelled = true},
    {.Name = "AutomaticPassword", .Direction = TDirection::Encrypt, .FolderPassword = "folder pw",
     .Automatic = "folder pw", .Changed = kAllThree},
    {.Name = "AlreadyExpanded", .Direction = TDirection::Decrypt, .FolderPassword = "folder pw", .Expanded = true,
     .Changed = kAllThree},
    {.Name = "NoFolderPassword", .Direction = TDirection::Decrypt, .FolderPassword = "", .Changed = kAllThree},
    {.Name = "FrontEndOpens", .Direction = TDirection::Encrypt, .FolderPassword = "folder pw",
     .Opener = [] { return true; }, .Changed = kAllThree},
    {.Name = "FrontEndRefuses", .Direction = TDirection::Decrypt, .FolderPassword = "folder pw",
     .Opener = [] { return false; }, .Changed = {"open.txt"}, .Skipped = true},
};

INSTANTIATE_TEST_SUITE_P(Cases, EncryptionRestrictedFolder, ::testing::ValuesIn(kRestrictedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---- failures leave the item as it was ----

struct TFailureCase {
    const char* Name;
    TPlace Place;
    std::function<void(const fs::path& archive, TItemInfo& item)> Damage;
    const char* Message;
};

void PrintTo(const TFailureCase& c, std::ostream* os)
{
    *os << c.Name;
}

class EncryptionFailure : public EncryptionRunsTest,
                          public ::testing::WithParamInterface<std::tuple<TDirection, TFailureCase>> {};

TEST_P(EncryptionFailure, IsLoggedAndLeftAsItWas)
{
    const auto& [direction, c] = GetParam();
    const std::string packedWith = direction == TDirection::Encrypt ? "" : kPassword;
    AddFile(nullptr, "victim.txt", packedWith);
    if (c.Place == TPlace::Stored)
        SaveAndReopen();
    AddFile(nullptr, "other.txt", packedWith);
    TItemInfo& item = Item("victim.txt");
    c.Damage(Archive(), item);
    const TItemState before = State(item);
    const size_t workingFiles = WorkingFileCount();

    const TCryptRunTotals totals = Run(direction, nullptr, kPassword);

    EXPECT_EQ(totals.Processed, 2);
    EXPECT_EQ(totals.Done, 1) << "the run goes on after a failed file";
    EXPECT_EQ(State(item), before);
    EXPECT_EQ(WorkingFileCount(), workingFiles) << "no scratch file is left";
    ASSERT_EQ(Problems().size(), 1u);
    ExpectEntry(Problems()[0], c.Message, "victim.txt", liError, false, true);
}

void CorruptByteAt(const fs::path& archive, int64_t offset)
{
    std::string bytes = ReadFile(archive);
    bytes[static_cast<size_t>(offset)] = static_cast<char>(bytes[static_cast<size_t>(offset)] ^ 0x5A);
    WriteFile(archive, bytes);
}

const TFailureCase kFailureCases[] = {
    {"ContainerGone", TPlace::Stored, [](const fs::path& archive, TItemInfo&) { fs::remove(archive); },
     "Pyxa file not found"},
    {"PackedDataDamaged", TPlace::Stored,
     [](const fs::path& archive, TItemInfo& item) { CorruptByteAt(archive, item.Index + 17 + 40); },
     "CRC error (in compressed file)"},
    {"BlockSignatureDamaged", TPlace::Stored,
     [](const fs::path& archive, TItemInfo& item) { CorruptByteAt(archive, item.Index + 1); },
     "File signature error"},
    {"TemporaryFileGone", TPlace::Pending, [](const fs::path&, TItemInfo& item) { fs::remove(item.TmpCmpFile); },
     "Temporary file not found"},
};

INSTANTIATE_TEST_SUITE_P(Causes, EncryptionFailure,
                         ::testing::Combine(::testing::Values(TDirection::Encrypt, TDirection::Decrypt),
                                            ::testing::ValuesIn(kFailureCases)),
                         [](const auto& info) {
                             return DirectionName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).Name;
                         });

class EncryptionDiskFull : public EncryptionRunsTest,
                           public ::testing::WithParamInterface<std::tuple<TDirection, TPlace>> {};

TEST_P(EncryptionDiskFull, WhileWritingTheNewDataLeavesTheItemAndNoScratchFile)
{
    const auto [direction, place] = GetParam();
    const bool encrypting = direction == TDirection::Encrypt;
    AddFile(nullptr, "big.txt", encrypting ? "" : kPassword);
    if (place == TPlace::Stored)
        SaveAndReopen();
    TItemInfo& item = Item("big.txt");
    const TItemState before = State(item);
    const size_t workingFiles = WorkingFileCount();
    // A stored item's block copy still fits; the disk fills halfway through the new packed data,
    // which the wrapper's 20 bytes (salt, verifier, authentication code) make longer or shorter.
    const auto packedSize = static_cast<int64_t>(before.Packed.size());
    const int64_t newSize = encrypting ? packedSize + 20 : packedSize - 20;

    FailFileWritesAfter((place == TPlace::Stored ? packedSize : 0) + newSize / 2);
    const TCryptRunTotals totals = Run(direction, nullptr, kPassword);
    FailFileWritesAfter(-1);

    EXPECT_EQ(totals.Done, 0);
    EXPECT_EQ(State(item).Encrypted, before.Encrypted);
    EXPECT_EQ(State(item).TmpCmpFile, before.TmpCmpFile);
    EXPECT_EQ(State(item).Packed, before.Packed);
    EXPECT_EQ(WorkingFileCount(), workingFiles);
    EXPECT_EQ(Problems().size(), 1u);
    if (encrypting) {
        ExpectEntry(Problems().at(0), "Error encrypting file", "big.txt", liPassword, false, true);
    }
    Host.PasswordAnswers.push_back({true, kPassword, false});
    EXPECT_EQ(Extracted(item), ContentOf("big.txt"));
}

INSTANTIATE_TEST_SUITE_P(Places, EncryptionDiskFull,
                         ::testing::Combine(::testing::Values(TDirection::Encrypt, TDirection::Decrypt),
                                            ::testing::Values(TPlace::Pending, TPlace::Stored)),
                         [](const auto& info) {
                             return DirectionName(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == TPlace::Pending ? "_Pending" : "_Stored");
                         });

TEST_F(EncryptionRunsTest, DecryptedContentWithAWrongCrcIsKeptWithAWarning)
{
    TItemInfo& item = AddFile(nullptr, "damaged.txt", kPassword)->Item();
    const std::string zlib = Decrypted(Packed(item), kPassword);
    item.Crc ^= 1;

    EXPECT_EQ(DecryptItems(Container, nullptr, kPassword).Done, 1);
    EXPECT_FALSE(item.Encrypted);
    EXPECT_EQ(ReadFile(item.TmpCmpFile), zlib);
    ASSERT_EQ(Problems().size(), 1u);
    ExpectEntry(Problems()[0], "CRC error on file", "damaged.txt", liWarning, true, true);
}

TEST_F(EncryptionRunsTest, DecryptedDataThatIsNoZlibStreamIsRefused)
{
    TItemInfo& item = AddFile(nullptr, "garbage.txt", kPassword)->Item();
    WriteFile(item.TmpCmpFile, Encrypted("this is not a zlib stream at all", kPassword));
    const TItemState before = State(item);

    EXPECT_EQ(DecryptStoredItem(Container, &item, kPassword), DecryptItemResult::CannotDecompress);
    EXPECT_EQ(State(item), before);
    EXPECT_EQ(WorkingFileCount(), 1u);
}

TEST_F(EncryptionRunsTest, StepsRefuseWhatTheyCannotChange)
{
    TItemInfo& plain = AddFile(nullptr, "plain.txt")->Item();
    TItemInfo& encrypted = AddFile(nullptr, "encrypted.txt", kPassword)->Item();
    TItemInfo& folder = AddFolder(nullptr, "Folder")->Item();
    const TItemState plainBefore = State(plain);
    const TItemState encryptedBefore = State(encrypted);

    EXPECT_EQ(EncryptStoredItem(Container, nullptr, kPassword), EncryptItemResult::InvalidItem);
    EXPECT_EQ(EncryptStoredItem(Container, &folder, kPassword), EncryptItemResult::InvalidItem);
    EXPECT_EQ(EncryptStoredItem(Container, &encrypted, kPassword), EncryptItemResult::AlreadyEncrypted);
    EXPECT_EQ(EncryptStoredItem(Container, &plain, ""), EncryptItemResult::CannotEncrypt);
    EXPECT_EQ(DecryptStoredItem(Container, nullptr, kPassword), DecryptItemResult::InvalidItem);
    EXPECT_EQ(DecryptStoredItem(Container, &folder, kPassword), DecryptItemResult::InvalidItem);
    EXPECT_EQ(DecryptStoredItem(Container, &plain, kPassword), DecryptItemResult::NotEncrypted);

    EXPECT_EQ(State(plain), plainBefore);
    EXPECT_EQ(State(encrypted), encryptedBefore);
    EXPECT_FALSE(folder.Encrypted);
    EXPECT_EQ(WorkingFileCount(), 2u);
}

// ---- the commands ----

struct TCommandCase {
    const char* Name;
    std::optional<TCryptRunTotals> (*Command)(TContainer&);
    TDirection Direction;
    const char* Selected;  // empty: nothing selected
    int Mode;
    const char* Label;
};

void PrintTo(const TCommandCase& c, std::ostream* os)
{
    *os << c.Name;
}

std::optional<TCryptRunTotals> EncryptFolder(TContainer& container)
{
    return EncryptFolderCommand(container);
}

std::optional<TCryptRunTotals> DecryptFolder(TContainer& container)
{
    return DecryptFolderCommand(container);
}

// Docs/report.txt and plans.txt, all in the state the command changes.
class EncryptionCommand : public EncryptionRunsTest, public ::testing::WithParamInterface<TCommandCase> {
protected:
    EncryptionCommand()
    {
        const std::string packedWith = GetParam().Direction == TDirection::Encrypt ? "" : kPassword;
        AddFile(AddFolder(nullptr, "Docs"), "report.txt", packedWith);
        AddFile(nullptr, "plans.txt", packedWith);
        if (*GetParam().Selected)
            Container.SetSelectedItem(Node(GetParam().Selected));
    }

    std::vector<TItemState> States() const
    {
        std::vector<TItemState> states;
        for (const char* name : {"report.txt", "plans.txt"})
            states.push_back(State(Item(name)));
        return states;
    }

    bool Changed(const char* name) const
    {
        return Item(name).Encrypted == (GetParam().Direction == TDirection::Encrypt);
    }
};

TEST_P(EncryptionCommand, AsksWithItsOwnTextAndACancelledPromptChangesNothing)
{
    const std::vector<TItemState> before = States();

    EXPECT_FALSE(GetParam().Command(Container).has_value());

    ASSERT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_EQ(Host.PasswordRequests[0].Mode, GetParam().Mode);
    EXPECT_EQ(Host.PasswordRequests[0].Label, GetParam().Label);
    EXPECT_FALSE(Host.PasswordRequests[0].ShowAutomatic);
    EXPECT_EQ(States(), before);
    EXPECT_FALSE(Container.Modified());
    EXPECT_TRUE(Host.BusyCalls.empty());
}

TEST_P(EncryptionCommand, RunsWithTheAnsweredPassword)
{
    Host.PasswordAnswers.push_back({true, kPassword, false});

    const std::optional<TCryptRunTotals> totals = GetParam().Command(Container);

    ASSERT_TRUE(totals.has_value());
    EXPECT_TRUE(Changed("report.txt"));
    EXPECT_EQ(Changed("plans.txt"), std::string(GetParam().Selected).empty());
    EXPECT_EQ(totals->Done, std::string(GetParam().Selected).empty() ? 2 : 1);
    EXPECT_EQ(Extracted(Item("report.txt")), ContentOf("report.txt"));
}

TEST_P(EncryptionCommand, TheAutomaticPasswordReplacesThePrompt)
{
    Container.GlobalPassword = kPassword;

    const std::optional<TCryptRunTotals> totals = GetParam().Command(Container);

    ASSERT_TRUE(totals.has_value());
    EXPECT_TRUE(Host.PasswordRequests.empty());
    EXPECT_TRUE(Changed("report.txt"));
    if (GetParam().Direction == TDirection::Encrypt) {
        EXPECT_EQ(Item("report.txt").TmpPass, kPassword);
    }
}

TEST_P(EncryptionCommand, ALockedContainerRefusesIt)
{
    Container.GlobalPassword = kPassword;
    Container.SetLocked(true);
    const std::vector<TItemState> before = States();

    EXPECT_FALSE(GetParam().Command(Container).has_value());

    EXPECT_EQ(States(), before);
    EXPECT_FALSE(Container.Modified());
    EXPECT_TRUE(Host.Status.empty());
    EXPECT_TRUE(Host.BusyCalls.empty());
}

const TCommandCase kCommandCases[] = {
    {"EncryptFolder", EncryptFolder, TDirection::Encrypt, "Docs", 1,
     "The files contained in the folder \"Docs\" and subfolders will be encrypted with the same password using "
     "AES (Advanced Encryption Standard)..."},
    {"EncryptAll", EncryptFolder, TDirection::Encrypt, "", 1,
     "All files will be encrypted with the same password using AES (Advanced Encryption Standard)..."},
    {"DecryptFolder", DecryptFolder, TDirection::Decrypt, "Docs", 2,
     "The files contained in the folder \"Docs\" and subfolders will be decrypted using the same password..."},
    {"DecryptAll", DecryptFolder, TDirection::Decrypt, "", 2,
     "All encrypted files will be decrypted using the same password..."},
    {"EncryptItem", EncryptItemCommand, TDirection::Encrypt, "report.txt", 1,
     "The file \"report.txt\" will be encrypted using AES (Advanced Encryption Standard)..."},
    {"DecryptItem", DecryptItemCommand, TDirection::Decrypt, "report.txt", 2,
     "The file \"report.txt\" will be decrypted..."},
};

INSTANTIATE_TEST_SUITE_P(Commands, EncryptionCommand, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EncryptionRunsTest, ItemCommandsNeedASelectedFile)
{
    AddFile(AddFolder(nullptr, "Docs"), "report.txt");
    Container.GlobalPassword = kPassword;
    for (TTreeNode* selected : {static_cast<TTreeNode*>(nullptr), Node("Docs")}) {
        Container.SetSelectedItem(selected);
        EXPECT_FALSE(EncryptItemCommand(Container).has_value());
        EXPECT_FALSE(DecryptItemCommand(Container).has_value());
    }
    EXPECT_FALSE(Item("report.txt").Encrypted);
    EXPECT_FALSE(Container.Modified());
}

TEST_F(EncryptionRunsTest, DecryptThisItemTriesTheItemsOwnPasswordFirst)
{
    TTreeNode* node = AddFile(nullptr, "report.txt", kPassword);
    node->Item().TmpPass = kPassword;
    Container.GlobalPassword = "another automatic password";
    Container.SetSelectedItem(node);

    const std::optional<TCryptRunTotals> totals = DecryptItemCommand(Container);

    ASSERT_TRUE(totals.has_value());
    EXPECT_EQ(totals->Done, 1);
    EXPECT_TRUE(Host.PasswordRequests.empty());
    EXPECT_EQ(Host.LastStatus(), "File decrypted.");
}

TEST_F(EncryptionRunsTest, RunsLeaveALockedOrEmptyCatalogueAlone)
{
    TCryptRunTotals totals = EncryptItems(Container, nullptr, kPassword);
    EXPECT_EQ(totals.Processed, 0);
    EXPECT_FALSE(Container.Modified()) << "an empty catalogue is not marked";

    AddFile(nullptr, "a.txt");
    Container.SetLocked(true);
    totals = EncryptItems(Container, nullptr, kPassword);
    EXPECT_EQ(totals.Processed, 0);
    EXPECT_EQ(DecryptItems(Container, nullptr, kPassword).Processed, 0);
    EXPECT_FALSE(Item("a.txt").Encrypted);
    EXPECT_FALSE(Container.Modified());
    EXPECT_TRUE(Host.Log.empty());
}

}  // namespace
}  // namespace pyxa::test
