#include "codecs/AesLib.h"
#include "container/IntegrityTest.h"
#include "container/OpenContainer.h"
#include "helpers/ContainerBytes.h"
#include "helpers/CryptBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "support/Utf16.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ContainerBytes;
using test::Encrypted;
using test::HeaderBytes;
using test::IndexBlockBytes;
using test::IndexDocumentText;
using test::ItemBlockBytes;
using test::Le32;
using test::Le64;
using test::ZlibCompress;
using test::ZlibCrc;

const std::string kEmptyIndex = IndexDocumentText("");

std::string Content(int seed)
{
    std::string text;
    for (int line = 0; line < 40; ++line)
        text += "file " + std::to_string(seed) + " line " + std::to_string(line) + "\n";
    return text;
}

// Item blocks and the index entries that point at them, written from the layout tables.
class ContainerBuilder {
public:
    // A stored file whose block holds packed and whose index entry claims size and crc.
    ContainerBuilder& Stored(const std::string& name, const std::string& packed, uint32_t crc, size_t size,
                             bool encrypted = false)
    {
        FItems += "<File Name=\"" + name + "\" Size=\"" + std::to_string(size) +
                  "\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"" + (encrypted ? "true" : "false") +
                  "\" Index=\"" + std::to_string(13 + FBlocks.size()) +
                  "\" Crc=\"" + std::to_string(static_cast<int32_t>(crc)) + "\"/>\n";
        FBlocks += ItemBlockBytes(packed);
        return *this;
    }
    ContainerBuilder& Plain(const std::string& name, const std::string& content)
    {
        return Stored(name, ZlibCompress(content), ZlibCrc(content), content.size());
    }
    ContainerBuilder& Secret(const std::string& name, const std::string& content, const std::string& password)
    {
        return Stored(name, Encrypted(ZlibCompress(content), password), ZlibCrc(content), content.size(), true);
    }
    ContainerBuilder& BeginFolder(const std::string& name)
    {
        FItems += "<Folder Name=\"" + name +
                  "\" Added=\"\" Original=\"\" Color=\"0\" Icon=\"0\" Encrypted=\"false\">\n";
        return *this;
    }
    ContainerBuilder& EndFolder()
    {
        FItems += "</Folder>\n";
        return *this;
    }
    std::string Bytes() const { return ContainerBytes(FBlocks, IndexDocumentText(FItems)); }

private:
    std::string FBlocks;
    std::string FItems;
};

class IntegrityTestTest : public ::testing::Test {
protected:
    IntegrityTestTest() { Container.WorkingFolder.Create(Dir.Path()); }

    TestResult Structure(const std::string& bytes)
    {
        test::WriteFile(Archive, bytes);
        Container.FileName = Archive;
        return TestStructure(Container);
    }

    // Writes the bytes and opens them as the saved container.
    void Open(const std::string& bytes)
    {
        test::WriteFile(Archive, bytes);
        ASSERT_EQ(ReadContainer(Container, Archive), OpenResult::Ok);
        Host.Status.clear();
    }

    size_t TestFolderFiles() const
    {
        const fs::path folder = Container.WorkingFolder.TestFolder();
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    std::vector<test::LoggedEntry> LoggedWithIcon(int icon) const
    {
        std::vector<test::LoggedEntry> entries;
        std::copy_if(Host.Log.begin(), Host.Log.end(), std::back_inserter(entries),
                     [icon](const test::LoggedEntry& entry) { return entry.Icon == icon; });
        return entries;
    }

    void ExpectErrorsFoundSummary() const
    {
        EXPECT_EQ(Host.LastStatus(), "Errors were found.");
        ASSERT_FALSE(Host.Log.empty());
        EXPECT_EQ(Host.Log.back().Text, "Errors were found");
        EXPECT_EQ(Host.Log.back().Icon, liWarning);
        EXPECT_TRUE(Host.Log.back().ShowLog);
        EXPECT_TRUE(Host.Boxes.empty());
    }

    test::TempDir Dir;
    fs::path Archive = Dir / "box.pyxa";
    test::FakeHost Host;
    TContainer Container {Host};
};

// ---- structure pass -------------------------------------------------------------------------

struct StructureCase {
    const char* Name;
    std::string Bytes;
    TestResult Expected;
};

void PrintTo(const StructureCase& value, std::ostream* out)
{
    *out << value.Name;
}

std::string TwoItemBlocks()
{
    return ItemBlockBytes(ZlibCompress("first")) + ItemBlockBytes(ZlibCompress("second"));
}

// An item block whose length field says length while only the given packed bytes follow.
std::string ItemBlockClaiming(int64_t length, const std::string& packed)
{
    return std::string("PYXA\x02", 5) + Le64(length) + Le32(ZlibCrc(packed)) + packed;
}

std::string WithItemBlockClaiming(int64_t length)
{
    const std::string block = ItemBlockClaiming(length, "abcdef");
    return HeaderBytes(13 + static_cast<int64_t>(block.size())) + block + IndexBlockBytes(kEmptyIndex);
}

// An index block whose compressed length is off by delta from what follows.
std::string WithIndexLengthOffBy(int64_t delta)
{
    const std::string compressed = ZlibCompress(kEmptyIndex);
    return HeaderBytes(13) + std::string("PYXA\x01", 5) +
           Le32(static_cast<uint32_t>(static_cast<int64_t>(compressed.size()) + delta)) +
           Le32(ZlibCrc(kEmptyIndex)) + std::string(1, '\0') + compressed;
}

std::vector<StructureCase> StructureCases()
{
    const std::string items = TwoItemBlocks();
    const int64_t afterItems = 13 + static_cast<int64_t>(items.size());
    const std::string gap = "zzzzz";
    return {
        {"WellFormed", ContainerBytes(items, kEmptyIndex), TestResult::Ok},
        {"NoItems", ContainerBytes("", kEmptyIndex), TestResult::Ok},
        {"UnknownBytesSteppedOverInFives",
         HeaderBytes(afterItems + 5) + items + gap + IndexBlockBytes(kEmptyIndex), TestResult::Ok},
        {"TrailingBytes", ContainerBytes(items, kEmptyIndex) + "x", TestResult::StructureError},
        {"TrailingBlock", ContainerBytes(items, kEmptyIndex) + ItemBlockBytes("late"), TestResult::StructureError},
        {"IndexNotLast", HeaderBytes(13) + IndexBlockBytes(kEmptyIndex) + items, TestResult::StructureError},
        {"HeaderPointsAtAnItemBlock", HeaderBytes(13) + items + IndexBlockBytes(kEmptyIndex),
         TestResult::StructureError},
        {"HeaderPointsPastTheEnd", HeaderBytes(1 << 20) + items + IndexBlockBytes(kEmptyIndex),
         TestResult::StructureError},
        {"HeaderOffsetNegative", HeaderBytes(-1) + items + IndexBlockBytes(kEmptyIndex), TestResult::StructureError},
        {"WrongHeaderSignature", "PYXB" + ContainerBytes(items, kEmptyIndex).substr(4), TestResult::StructureError},
        {"HeaderOfIndexKind", std::string("PYXA\x01", 5) + ContainerBytes(items, kEmptyIndex).substr(5),
         TestResult::StructureError},
        {"EmptyFile", "", TestResult::StructureError},
        {"ShortHeader", HeaderBytes(13).substr(0, 9), TestResult::StructureError},
        {"HeaderOnly", HeaderBytes(13), TestResult::StructureError},
        {"ItemLengthNegative", WithItemBlockClaiming(-1), TestResult::StructureError},
        {"ItemLengthMostNegative", WithItemBlockClaiming(std::numeric_limits<int64_t>::min()),
         TestResult::StructureError},
        {"ItemLengthHuge", WithItemBlockClaiming(std::numeric_limits<int64_t>::max()), TestResult::StructureError},
        // Back to the block's own start: a walk that trusted it would never end.
        {"ItemLengthLoopsBack", WithItemBlockClaiming(-17), TestResult::StructureError},
        {"ItemBlockCutInItsHead", HeaderBytes(13) + std::string("PYXA\x02", 5) + Le64(0).substr(0, 4),
         TestResult::StructureError},
        {"IndexLengthOnePastTheEnd", WithIndexLengthOffBy(1), TestResult::StructureError},
        {"IndexLengthShort", WithIndexLengthOffBy(-1), TestResult::StructureError},
        {"IndexLengthHuge",
         HeaderBytes(13) + std::string("PYXA\x01", 5) + Le32(0xFFFFFFFFu) + Le32(0) + std::string(1, '\0') + "abc",
         TestResult::StructureError},
    };
}

class IntegrityStructure : public IntegrityTestTest, public ::testing::WithParamInterface<StructureCase> {};

TEST_P(IntegrityStructure, WalksTheBlocks)
{
    EXPECT_EQ(Structure(GetParam().Bytes), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Integrity, IntegrityStructure, ::testing::ValuesIn(StructureCases()),
                         [](const ::testing::TestParamInfo<StructureCase>& info) { return info.param.Name; });

TEST_F(IntegrityTestTest, StructureOfAMissingFileOrAFolder)
{
    Container.FileName = Dir / "missing.pyxa";
    EXPECT_EQ(TestStructure(Container), TestResult::FileNotFound);
    Container.FileName = Dir.Path();
    EXPECT_EQ(TestStructure(Container), TestResult::FileNotFound);
    Container.FileName.clear();
    EXPECT_EQ(TestStructure(Container), TestResult::FileNotFound);
}

TEST_F(IntegrityTestTest, StructureOfAnUnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    test::WriteFile(Archive, ContainerBytes("", kEmptyIndex));
    fs::permissions(Archive, fs::perms::none);
    Container.FileName = Archive;
    EXPECT_EQ(TestStructure(Container), TestResult::CannotOpenFile);
}

// ---- the whole test ---------------------------------------------------------------------------

TEST_F(IntegrityTestTest, WellFormedContainerPassesAndLeavesNoCopies)
{
    ContainerBuilder builder;
    builder.Plain("a.txt", Content(1)).BeginFolder("Docs").Plain("b.txt", Content(2));
    builder.Secret("c.txt", Content(3), "pw").EndFolder().Plain("empty.txt", "");
    Open(builder.Bytes());
    const std::string before = test::ReadFile(Archive);
    Host.PasswordAnswers.push_back({true, "pw", false});

    const TIntegrityOutcome outcome = TestPyxaFile(Container);

    EXPECT_TRUE(outcome.Passed());
    EXPECT_EQ(outcome.Errors, 0);
    EXPECT_EQ(Host.LastStatus(), "File successfully tested.");
    EXPECT_TRUE(Host.Logged("Testing structure"));
    EXPECT_TRUE(Host.Logged("Testing files"));
    EXPECT_EQ(Host.Log.back().Text, "File successfully tested");
    EXPECT_EQ(Host.Log.back().Icon, liSuccess);
    EXPECT_TRUE(LoggedWithIcon(liError).empty());
    ASSERT_EQ(Host.Boxes.size(), 1u);
    EXPECT_EQ(Host.Boxes[0].Instruction, "No errors detected.");
    EXPECT_EQ(Host.Boxes[0].Content, "");
    EXPECT_EQ(Host.Boxes[0].Icon, miInformation);
    EXPECT_EQ(Host.Boxes[0].Buttons, mbOK);
    // Progress at every fifth node that is a file: node 0 of 5 ("a.txt"); node 5 does not exist.
    EXPECT_EQ(std::count(Host.Status.begin(), Host.Status.end(), "0% Testing \"a.txt\""), 1);
    EXPECT_EQ(Host.BusyCalls, (std::vector<std::pair<bool, bool>> {{true, true}, {false, false}}));
    // The prompt came with "use for all files" preselected, as during extraction.
    ASSERT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_TRUE(Host.PasswordRequests[0].AutomaticChecked);
    EXPECT_FALSE(Container.Extracting);
    EXPECT_EQ(TestFolderFiles(), 0u);
    EXPECT_EQ(test::ReadFile(Archive), before);
    EXPECT_FALSE(Container.Modified());
}

TEST_F(IntegrityTestTest, ContainerWithoutFilesPasses)
{
    Open(ContainerBuilder().BeginFolder("Empty").EndFolder().Bytes());
    EXPECT_TRUE(TestPyxaFile(Container).Passed());
    ASSERT_EQ(Host.Boxes.size(), 1u);
    EXPECT_EQ(Host.Boxes[0].Instruction, "No errors detected.");
}

TEST_F(IntegrityTestTest, ProgressNamesEveryFifthNodeWhenItIsAFile)
{
    ContainerBuilder builder;
    builder.BeginFolder("F");
    for (int i = 1; i <= 10; ++i)
        builder.Plain("f" + std::to_string(i), Content(i));
    Open(builder.EndFolder().Bytes());

    TestPyxaFile(Container);

    const std::vector<std::string> progress(Host.Status.begin() + 1, Host.Status.end() - 1);
    EXPECT_EQ(progress, (std::vector<std::string> {"45% Testing \"f5\"", "90% Testing \"f10\""}));
}

struct DamageCase {
    const char* Name;
    std::string Message;
    int Icon;
};

void PrintTo(const DamageCase& value, std::ostream* out)
{
    *out << value.Name;
}

class IntegrityDamagedItem : public IntegrityTestTest, public ::testing::WithParamInterface<DamageCase> {
protected:
    // The damaged item between two sound ones.
    std::string WithDamagedItem(const std::string& kind)
    {
        ContainerBuilder builder;
        builder.Plain("before.txt", Content(1));
        const std::string content = Content(2);
        if (kind == "NotZlib") {
            builder.Stored("bad.txt", "this is not a zlib stream", ZlibCrc(content), content.size());
        } else if (kind == "ContentCrc") {
            builder.Stored("bad.txt", ZlibCompress(content), ZlibCrc(content) ^ 1u, content.size());
        } else {
            builder.Secret("bad.txt", content, "right");
            Host.PasswordAnswers.push_back({true, "wrong", false});
        }
        return builder.Plain("after.txt", Content(3)).Bytes();
    }
};

TEST_P(IntegrityDamagedItem, IsReportedByNameAndTheTestGoesOn)
{
    Open(WithDamagedItem(GetParam().Name));

    const TIntegrityOutcome outcome = TestPyxaFile(Container);

    EXPECT_EQ(outcome.Structure, TestResult::Ok);
    EXPECT_EQ(outcome.Errors, 1);
    EXPECT_FALSE(outcome.Cancelled);
    EXPECT_FALSE(outcome.Passed());
    const auto failures = LoggedWithIcon(GetParam().Icon);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Text, GetParam().Message);
    EXPECT_EQ(failures[0].FileName, "bad.txt");
    EXPECT_TRUE(failures[0].ShowLog);
    ExpectErrorsFoundSummary();
    EXPECT_EQ(TestFolderFiles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Integrity, IntegrityDamagedItem,
                         ::testing::Values(DamageCase {"NotZlib", "Cannot decompress file", liError},
                                           DamageCase {"ContentCrc", "CRC error", liError},
                                           DamageCase {"WrongPassword", "Invalid password", liPassword}),
                         [](const ::testing::TestParamInfo<DamageCase>& info) { return info.param.Name; });

TEST_F(IntegrityTestTest, StructureFailureStopsBeforeAnyFileIsUnpacked)
{
    // Trailing bytes: the container opens, but is not well formed.
    Open(ContainerBuilder().Secret("a.txt", Content(1), "pw").Bytes() + "trailing");

    const TIntegrityOutcome outcome = TestPyxaFile(Container);

    EXPECT_TRUE(outcome.Tested);
    EXPECT_EQ(outcome.Structure, TestResult::StructureError);
    EXPECT_FALSE(outcome.Passed());
    const auto errors = LoggedWithIcon(liError);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Text, "File structure error");
    EXPECT_EQ(errors[0].FileName, "Testing Pyxa file");
    EXPECT_TRUE(errors[0].ShowLog);
    ExpectErrorsFoundSummary();
    EXPECT_FALSE(Host.Logged("Testing files"));
    EXPECT_TRUE(Host.PasswordRequests.empty());
    EXPECT_TRUE(Host.BusyCalls.empty());
}

TEST_F(IntegrityTestTest, ContainerFileGoneSinceOpening)
{
    Open(ContainerBuilder().Plain("a.txt", Content(1)).Bytes());
    fs::remove(Archive);

    EXPECT_EQ(TestPyxaFile(Container).Structure, TestResult::FileNotFound);
    EXPECT_EQ(LoggedWithIcon(liError).at(0).Text, "Pyxa file not found");
    ExpectErrorsFoundSummary();
}

struct UnsavedCase {
    const char* Name;
    bool ModifiedInd;
    bool ModifiedDat;
    bool Named;
};

void PrintTo(const UnsavedCase& value, std::ostream* out)
{
    *out << value.Name;
}

class IntegrityUnsaved : public IntegrityTestTest, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(IntegrityUnsaved, IsNotTested)
{
    Open(ContainerBuilder().Plain("a.txt", Content(1)).Bytes());
    Container.SetModified(GetParam().ModifiedInd, GetParam().ModifiedDat);
    if (!GetParam().Named)
        Container.FileName.clear();

    const TIntegrityOutcome outcome = TestPyxaFile(Container);

    EXPECT_FALSE(outcome.Tested);
    EXPECT_FALSE(outcome.Passed());
    ASSERT_EQ(Host.Boxes.size(), 1u);
    EXPECT_EQ(Host.Boxes[0].Instruction, "The current Pyxa file has not been saved yet.");
    EXPECT_EQ(Host.Boxes[0].Content, "Please save it and try this again...");
    EXPECT_EQ(Host.Boxes[0].Icon, miInformation);
    EXPECT_EQ(Host.Boxes[0].Buttons, mbOK);
    EXPECT_TRUE(Host.Log.empty());
    EXPECT_TRUE(Host.Status.empty());
    EXPECT_TRUE(Host.BusyCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(Integrity, IntegrityUnsaved,
                         ::testing::Values(UnsavedCase {"IndexModified", true, false, true},
                                           UnsavedCase {"DataModified", false, true, true},
                                           UnsavedCase {"NeverSaved", false, false, false}),
                         [](const ::testing::TestParamInfo<UnsavedCase>& info) { return info.param.Name; });

class IntegrityCancelled : public IntegrityTestTest {
protected:
    void ExpectCancelledAfterFirstItem(const TIntegrityOutcome& outcome) const
    {
        EXPECT_TRUE(outcome.Cancelled);
        EXPECT_EQ(outcome.Errors, 1);
        EXPECT_FALSE(outcome.Passed());
        EXPECT_EQ(Host.LastStatus(), "Operation cancelled.");
        ASSERT_FALSE(Host.Log.empty());
        EXPECT_EQ(Host.Log.back().Text, "Operation cancelled.");
        EXPECT_EQ(Host.Log.back().Icon, liWarning);
        EXPECT_TRUE(Host.Log.back().ShowLog);
        EXPECT_FALSE(Host.Logged("Errors were found"));
        EXPECT_TRUE(Host.Boxes.empty());
        // The items after the cancel were not tried.
        EXPECT_EQ(LoggedWithIcon(liError).size() + LoggedWithIcon(liPassword).size(), 1u);
        EXPECT_EQ(TestFolderFiles(), 0u);
        EXPECT_FALSE(Container.Extracting);
        EXPECT_EQ(Host.BusyCalls.back(), std::make_pair(false, false));
    }
};

TEST_F(IntegrityCancelled, ByTheWaitPanelAfterAnError)
{
    ContainerBuilder builder;
    builder.Stored("bad.txt", "not zlib", 0, 8);
    for (int i = 1; i <= 8; ++i)
        builder.Stored("bad" + std::to_string(i) + ".txt", "not zlib", 0, 8);
    Open(builder.Bytes());
    // The click is seen at the progress update of the first item, before the second one starts.
    Host.CancelAfterLoops = 2;

    ExpectCancelledAfterFirstItem(TestPyxaFile(Container));
}

TEST_F(IntegrityCancelled, ByThePasswordPrompt)
{
    Open(ContainerBuilder().Secret("a.txt", Content(1), "pw").Secret("b.txt", Content(2), "pw").Bytes());

    ExpectCancelledAfterFirstItem(TestPyxaFile(Container));
    EXPECT_EQ(Host.PasswordRequests.size(), 1u);
    EXPECT_EQ(LoggedWithIcon(liPassword).at(0).Text, "Cannot decrypt file");
}

// Records the most unpacked copies seen in the test folder whenever the message queue runs.
class CopyCountingHost : public test::FakeHost {
public:
    void ProcessMessages() override
    {
        test::FakeHost::ProcessMessages();
        if (!Folder.empty()) {
            const auto count = std::distance(fs::directory_iterator(Folder), fs::directory_iterator());
            MostCopies = std::max(MostCopies, static_cast<size_t>(count));
        }
    }
    fs::path Folder;
    size_t MostCopies = 0;
};

TEST(IntegrityCopies, AtMostTwentyExistAtATime)
{
    test::TempDir dir;
    CopyCountingHost host;
    TContainer container(host);
    container.WorkingFolder.Create(dir.Path());
    ContainerBuilder builder;
    for (int i = 0; i < 45; ++i)
        builder.Plain("f" + std::to_string(i), Content(i));
    test::WriteFile(dir / "box.pyxa", builder.Bytes());
    ASSERT_EQ(ReadContainer(container, dir / "box.pyxa"), OpenResult::Ok);
    host.Folder = container.WorkingFolder.TestFolder();

    EXPECT_TRUE(TestPyxaFile(container).Passed());

    EXPECT_GE(host.MostCopies, 15u);
    EXPECT_LE(host.MostCopies, 20u);
    EXPECT_TRUE(fs::is_empty(host.Folder));
}

struct LongPathCase {
    const char* Name;
    std::string Unit;  // one character of the name
    int Over;          // characters beyond the longest path without a warning
    bool Warned;
};

void PrintTo(const LongPathCase& value, std::ostream* out)
{
    *out << value.Name;
}

class IntegrityLongPath : public IntegrityTestTest, public ::testing::WithParamInterface<LongPathCase> {};

TEST_P(IntegrityLongPath, IsWarnedButNotCountedAsAnError)
{
    const std::string folder = "Docs";
    const int testFolderLength = static_cast<int>(Utf8ToUtf16(Container.WorkingFolder.TestFolder().string()).size());
    const int nameLength = 260 - 10 - testFolderLength - static_cast<int>(folder.size() + 1) + GetParam().Over;
    std::string name;
    for (int i = 0; i < nameLength; ++i)
        name += GetParam().Unit;
    Open(ContainerBuilder().BeginFolder(folder).Plain(name, Content(1)).EndFolder().Bytes());

    const TIntegrityOutcome outcome = TestPyxaFile(Container);

    EXPECT_TRUE(outcome.Passed());
    EXPECT_EQ(Host.LastStatus(), "File successfully tested.");
    const auto warnings = LoggedWithIcon(liWarning);
    if (GetParam().Warned) {
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].Text, "Filename and path too long. This may cause problems...");
        EXPECT_EQ(warnings[0].FileName, folder + "\\" + name);
        EXPECT_TRUE(warnings[0].ShowLog);
    } else {
        EXPECT_TRUE(warnings.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Integrity, IntegrityLongPath,
                         ::testing::Values(LongPathCase {"AtTheLimit", "a", 0, false},
                                           LongPathCase {"OneOver", "a", 1, true},
                                           LongPathCase {"CountsCharactersNotBytes", "\xC3\xA9", 0, false},
                                           LongPathCase {"OneOverInCharacters", "\xC3\xA9", 1, true}),
                         [](const ::testing::TestParamInfo<LongPathCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace pyxa
