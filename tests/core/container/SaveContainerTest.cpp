#include "container/OpenContainer.h"
#include "container/SaveContainer.h"
#include "helpers/ContainerBytes.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "support/FileUtil.h"
#include "support/Stream.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

namespace pyxa {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

struct StopHere : std::runtime_error {
    StopHere() : std::runtime_error("stopped") {}
};

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override { container.WorkingFolder.Create(dir.Path()); }
    void TearDown() override { FailFileWritesAfter(-1); }

    TTreeNode* AddFolder(TTreeNode* parent, const std::string& name)
    {
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->IsFolder = true;
        item->Added = item->Original = NowDateTimeZ();
        return container.Tree.Add(parent, std::move(item));
    }

    // A pending item as the pack pipeline leaves it: packed data in a temporary file.
    TTreeNode* AddPending(TTreeNode* parent, const std::string& name, const std::string& content)
    {
        const std::string packed = test::ZlibCompress(content);
        auto item = std::make_unique<TItemInfo>();
        item->Name = name;
        item->Size = static_cast<int64_t>(content.size());
        item->Added = item->Original = NowDateTimeZ();
        item->Crc = test::ZlibCrc(content);
        item->TmpCmpFile = container.NewTempFileName();
        item->TmpCrcFile = test::ZlibCrc(packed);
        test::WriteFile(item->TmpCmpFile, packed);
        container.SetModified(true, true);
        return container.Tree.Add(parent, std::move(item));
    }

    SaveResult SaveAsNew(const fs::path& target, const TSaveStepHook& hook = {})
    {
        host.SaveTargets.push_back(target.string());
        return SaveContainer(container, true, hook);
    }

    // The content of a stored item, read straight from the container's bytes.
    std::string StoredContent(const fs::path& file, const TItemInfo& item)
    {
        const test::ParsedItemBlock block = test::ReadItemBlock(ReadFile(file), item.Index);
        EXPECT_EQ(block.Kind, 2) << item.Name;
        EXPECT_EQ(block.Crc, test::ZlibCrc(block.Packed)) << item.Name;
        return block.Kind == 2 ? test::ZlibDecompress(block.Packed) : std::string();
    }

    // A container with Docs/a.txt, Docs/b.txt and c.txt, saved and reopened.
    void MakeStoredContainer()
    {
        container.CloseCatalogue(true);
        TTreeNode* docs = AddFolder(nullptr, "Docs");
        AddPending(docs, "a.txt", "alpha alpha alpha");
        AddPending(docs, "b.txt", std::string(100000, 'b'));
        AddPending(nullptr, "c.txt", "gamma");
        ASSERT_EQ(SaveAsNew(archive), SaveResult::Ok);
        ASSERT_EQ(ReadContainer(container, archive), OpenResult::Ok);
    }

    std::vector<std::string> OpenedNames(const fs::path& file)
    {
        test::FakeHost otherHost;
        TContainer other(otherHost);
        other.WorkingFolder.Create(dir.Path());
        std::vector<std::string> names;
        if (ReadContainer(other, file) != OpenResult::Ok)
            return {"<unreadable>"};
        for (TTreeNode* node : other.Tree.Nodes())
            names.push_back(node->Text());
        other.WorkingFolder.Remove();
        return names;
    }

    test::TempDir dir;
    fs::path archive = dir / "box.pyxa";
    test::FakeHost host;
    TContainer container {host};
};

TEST_F(SaveTest, EmptyCatalogueSavesAsHeaderAndIndexBlock)
{
    ASSERT_EQ(SaveAsNew(archive), SaveResult::Ok);
    const std::string bytes = ReadFile(archive);
    EXPECT_EQ(bytes.substr(0, 5), std::string("PYXA\0", 5));
    EXPECT_EQ(bytes.substr(5, 8), std::string("\x0D\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(bytes.substr(13, 5), std::string("PYXA\1", 5));
    const uint32_t compressedLength = test::GetLe32(bytes, 18);
    EXPECT_EQ(bytes.size(), 13u + 14u + compressedLength);
    EXPECT_EQ(bytes.substr(27, 2), "\x78\xDA");
    const std::string document = test::ZlibDecompress(bytes.substr(27));
    EXPECT_EQ(test::GetLe32(bytes, 22), test::ZlibCrc(document));
    EXPECT_NE(document.find("<Index Version=\"1.0\" Date=\""), std::string::npos);

    EXPECT_EQ(container.FileName, archive);
    EXPECT_FALSE(container.Modified());
    EXPECT_TRUE(host.Logged("File saved."));
    EXPECT_EQ(host.LastStatus().rfind("File \"box.pyxa\" saved. File size: ", 0), 0u) << host.LastStatus();
}

TEST_F(SaveTest, FullRewriteStoresBlocksInTreeOrderAndReopensTheSameTree)
{
    TTreeNode* docs = AddFolder(nullptr, "Docs");
    TTreeNode* a = AddPending(docs, "a.txt", "alpha");
    TTreeNode* b = AddPending(docs, "b.txt", std::string(70000, 'b'));
    TTreeNode* c = AddPending(nullptr, "c.txt", "");
    const fs::path tmpA = a->Item().TmpCmpFile;

    ASSERT_EQ(SaveAsNew(archive), SaveResult::Ok);

    EXPECT_FALSE(fs::exists(tmpA));
    EXPECT_EQ(a->Item().Index, 13);
    EXPECT_LT(a->Item().Index, b->Item().Index);
    EXPECT_LT(b->Item().Index, c->Item().Index);
    for (TTreeNode* node : {a, b, c})
        EXPECT_TRUE(node->Item().TmpCmpFile.empty());
    EXPECT_EQ(StoredContent(archive, a->Item()), "alpha");
    EXPECT_EQ(StoredContent(archive, b->Item()), std::string(70000, 'b'));
    EXPECT_EQ(StoredContent(archive, c->Item()), "");
    EXPECT_EQ(OpenedNames(archive), (std::vector<std::string> {"Docs", "a.txt", "b.txt", "c.txt"}));
}

TEST_F(SaveTest, NewContainerAsksForANameAndCancelKeepsItModified)
{
    AddFolder(nullptr, "Photos");
    container.SetModified(true, false);
    EXPECT_EQ(SaveContainer(container, false), SaveResult::NoTarget);
    ASSERT_EQ(host.SaveRequests.size(), 1u);
    EXPECT_EQ(host.SaveRequests[0].ProposedName, "Photos.pyxa");
    EXPECT_EQ(host.LastStatus(), "File not saved.");
    EXPECT_TRUE(container.ModifiedInd);
    EXPECT_TRUE(host.Log.empty());
}

TEST_F(SaveTest, ChosenNamesGetTheExtensionUnlessItIsExactlyPyxa)
{
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain.pyxa"},
        {"kept.pyxa", "kept.pyxa"},
        {"CAPS.PYXA", "CAPS.PYXA.pyxa"},
        {"other.zip", "other.zip.pyxa"},
    };
    for (const auto& [chosen, expected] : cases) {
        ASSERT_EQ(SaveAsNew(dir / chosen), SaveResult::Ok) << chosen;
        EXPECT_EQ(container.FileName, dir / expected);
        EXPECT_TRUE(fs::exists(dir / expected));
    }
}

TEST_F(SaveTest, RenameRewritesOnlyTheIndexAndKeepsTheBlocksInPlace)
{
    MakeStoredContainer();
    const std::string before = ReadFile(archive);
    const int64_t indexOffset = test::GetLe64(before, 5);
    std::vector<int64_t> offsets;
    for (TTreeNode* node : container.Tree.Nodes())
        offsets.push_back(node->Item().Index);

    container.Tree.TopLevel(1)->Item().Name = "renamed.txt";
    container.SetModified(true, false);
    ASSERT_EQ(SaveContainer(container, false), SaveResult::Ok);

    const std::string after = ReadFile(archive);
    EXPECT_EQ(after.substr(0, static_cast<size_t>(indexOffset)), before.substr(0, static_cast<size_t>(indexOffset)));
    EXPECT_EQ(after.substr(static_cast<size_t>(indexOffset), 5), std::string("PYXA\1", 5));
    EXPECT_EQ(after.size(), static_cast<size_t>(indexOffset) + 14 + test::GetLe32(after, indexOffset + 5));
    EXPECT_TRUE(host.SaveRequests.size() == 1);  // only the first save asked
    EXPECT_EQ(OpenedNames(archive), (std::vector<std::string> {"Docs", "a.txt", "b.txt", "renamed.txt"}));
    std::vector<int64_t> offsetsAfter;
    for (TTreeNode* node : container.Tree.Nodes())
        offsetsAfter.push_back(node->Item().Index);
    EXPECT_EQ(offsetsAfter, offsets);
}

TEST_F(SaveTest, AddingToAStoredContainerRewritesEverythingInTreeOrder)
{
    MakeStoredContainer();
    AddPending(container.Tree.TopLevel(0), "new.txt", "fresh");
    ASSERT_EQ(SaveContainer(container, false), SaveResult::Ok);

    int64_t previous = 0;
    for (TTreeNode* node : container.Tree.Nodes()) {
        if (node->IsFolder())
            continue;
        EXPECT_GT(node->Item().Index, previous) << node->Text();
        previous = node->Item().Index;
        EXPECT_TRUE(node->Item().TmpCmpFile.empty());
    }
    EXPECT_EQ(StoredContent(archive, container.Tree.TopLevel(0)->Child(0)->Item()), "alpha alpha alpha");
    EXPECT_EQ(StoredContent(archive, container.Tree.TopLevel(0)->Child(2)->Item()), "fresh");
    EXPECT_EQ(OpenedNames(archive), (std::vector<std::string> {"Docs", "a.txt", "b.txt", "new.txt", "c.txt"}));
}

TEST_F(SaveTest, SaveAsLeavesTheOldFileAndMakesTheNewOneCurrent)
{
    MakeStoredContainer();
    const std::string before = ReadFile(archive);
    container.Tree.TopLevel(1)->Item().Name = "changed";
    container.SetModified(true, false);
    const fs::path copy = dir / "copy.pyxa";
    ASSERT_EQ(SaveAsNew(copy), SaveResult::Ok);
    EXPECT_EQ(ReadFile(archive), before);
    EXPECT_EQ(container.FileName, copy);
    EXPECT_EQ(StoredContent(copy, container.Tree.TopLevel(0)->Child(1)->Item()), std::string(100000, 'b'));
}

TEST_F(SaveTest, ReadOnlyTargetCanBeReplacedButNotRewrittenInPlace)
{
    MakeStoredContainer();
    fs::permissions(archive, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    container.Tree.TopLevel(1)->Item().Name = "x";
    container.SetModified(true, false);
    EXPECT_EQ(SaveContainer(container, false), SaveResult::CannotOpenContainer);
    EXPECT_TRUE(host.Logged("Cannot open Pyxa file"));
    EXPECT_EQ(host.LastStatus(), "File not saved.");
    EXPECT_TRUE(container.ModifiedInd);

    container.SetModified(true, true);
    EXPECT_EQ(SaveContainer(container, false), SaveResult::Ok);
    EXPECT_EQ(OpenedNames(archive), (std::vector<std::string> {"Docs", "a.txt", "b.txt", "x"}));
}

TEST_F(SaveTest, StoredItemsWhoseContainerVanishedFailTheSaveAndKeepTheCatalogue)
{
    MakeStoredContainer();
    fs::rename(archive, dir / "moved.pyxa");
    AddPending(nullptr, "d.txt", "delta");
    const fs::path pendingTmp = container.Tree.TopLevel(2)->Item().TmpCmpFile;
    host.SaveTargets.push_back(archive.string());
    EXPECT_EQ(SaveContainer(container, false), SaveResult::ContainerMissing);
    EXPECT_TRUE(host.Logged("Pyxa file not found"));
    EXPECT_EQ(container.Tree.Count(), 5);
    EXPECT_EQ(container.Tree.TopLevel(0)->Child(0)->Item().Index, 13);
    EXPECT_TRUE(fs::exists(pendingTmp));
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_TRUE(container.ModifiedDat);
}

TEST_F(SaveTest, PendingItemWhoseDataVanishedFailsTheSaveByName)
{
    AddPending(nullptr, "lost.txt", "data");
    fs::remove(container.Tree.TopLevel(0)->Item().TmpCmpFile);
    EXPECT_EQ(SaveAsNew(archive), SaveResult::CannotOpenItemTemporary);
    ASSERT_GE(host.Log.size(), 2u);
    EXPECT_TRUE(host.Logged("Cannot open temporary file"));
    EXPECT_FALSE(fs::exists(archive));
    size_t leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        leftovers += entry.path().extension() == ".dat" ? 1 : 0;
    EXPECT_EQ(leftovers, 0u);
}

TEST_F(SaveTest, DamagedStoredBlockIsReportedAndCopiedAsItIs)
{
    MakeStoredContainer();
    std::string bytes = ReadFile(archive);
    const int64_t aIndex = container.Tree.TopLevel(0)->Child(0)->Item().Index;
    bytes[static_cast<size_t>(aIndex) + 17 + 3] ^= 0x55;
    test::WriteFile(archive, bytes);
    AddPending(nullptr, "d.txt", "delta");
    ASSERT_EQ(SaveContainer(container, false), SaveResult::Ok);
    ASSERT_TRUE(host.Logged("CRC error (in temporary file)"));
    EXPECT_EQ(host.Log[0].Text, "Saving Pyxa file");
}

TEST_F(SaveTest, IndexOnlyRewriteStoppedAfterAnyStepLeavesAReadableContainer)
{
    MakeStoredContainer();
    const std::vector<std::string> before = OpenedNames(archive);
    std::vector<std::string> steps;
    container.Tree.TopLevel(1)->Item().Name = "renamed";
    container.Tree.TopLevel(1)->Item().Comments = std::string(5000, 'z');  // a larger index than before
    container.SetModified(true, false);
    ASSERT_EQ(SaveContainer(container, false, [&](const char* step) { steps.push_back(step); }), SaveResult::Ok);
    const std::vector<std::string> after = OpenedNames(archive);
    ASSERT_GE(steps.size(), 4u);

    for (size_t stop = 0; stop < steps.size(); ++stop) {
        MakeStoredContainer();
        container.Tree.TopLevel(1)->Item().Name = "renamed";
        container.Tree.TopLevel(1)->Item().Comments = std::string(5000, 'z');
        container.SetModified(true, false);
        size_t step = 0;
        EXPECT_THROW(SaveContainer(container, false,
                                   [&](const char*) {
                                       if (step++ == stop)
                                           throw StopHere();
                                   }),
                     StopHere);
        const std::vector<std::string> names = OpenedNames(archive);
        EXPECT_TRUE(names == before || names == after) << "stopped after " << steps[stop];
        ASSERT_EQ(ReadContainer(container, archive), OpenResult::Ok);
        EXPECT_EQ(StoredContent(archive, container.Tree.TopLevel(0)->Child(1)->Item()), std::string(100000, 'b'));
    }
}

TEST_F(SaveTest, FullRewriteStoppedAfterAnyStepLosesNoItem)
{
    MakeStoredContainer();
    const std::string before = ReadFile(archive);
    for (int stop = 0; stop < 2; ++stop) {
        ASSERT_EQ(ReadContainer(container, archive), OpenResult::Ok);
        AddPending(nullptr, "d.txt", "delta");
        const fs::path pendingTmp = container.Tree.TopLevel(2)->Item().TmpCmpFile;
        int step = 0;
        EXPECT_THROW(SaveContainer(container, false,
                                   [&](const char*) {
                                       if (step++ == stop)
                                           throw StopHere();
                                   }),
                     StopHere);
        // Either the old file or the whole new one; the catalogue still reaches every item.
        const std::vector<std::string> names = OpenedNames(archive);
        EXPECT_TRUE(names == (std::vector<std::string> {"Docs", "a.txt", "b.txt", "c.txt"}) ||
                    names == (std::vector<std::string> {"Docs", "a.txt", "b.txt", "c.txt", "d.txt"}))
            << stop;
        EXPECT_TRUE(fs::exists(pendingTmp));
        if (ReadFile(archive) == before) {
            EXPECT_EQ(StoredContent(archive, container.Tree.TopLevel(0)->Child(0)->Item()), "alpha alpha alpha");
        }
        test::WriteFile(archive, before);
    }
}

TEST_F(SaveTest, FullDiskDuringAnySaveLeavesOldContainerAndItemsIntact)
{
    MakeStoredContainer();
    const std::string before = ReadFile(archive);
    const auto size = static_cast<int64_t>(before.size());
    // Every budget runs out before the new container is complete.
    for (int64_t budget : {int64_t {0}, int64_t {10}, int64_t {20}, size / 4, size / 2, size - 10}) {
        ASSERT_EQ(ReadContainer(container, archive), OpenResult::Ok);
        AddPending(nullptr, "d.txt", std::string(3000, 'd'));
        const fs::path pendingTmp = container.Tree.TopLevel(2)->Item().TmpCmpFile;
        FailFileWritesAfter(budget);
        const SaveResult result = SaveContainer(container, false);
        FailFileWritesAfter(-1);
        EXPECT_NE(result, SaveResult::Ok) << budget;
        EXPECT_EQ(ReadFile(archive), before) << budget;
        EXPECT_TRUE(fs::exists(pendingTmp));
        EXPECT_TRUE(container.ModifiedDat);
        EXPECT_EQ(host.LastStatus(), "File not saved.");
        ASSERT_EQ(SaveContainer(container, false), SaveResult::Ok) << budget;
        EXPECT_EQ(StoredContent(archive, container.Tree.TopLevel(2)->Item()), std::string(3000, 'd'));
        test::WriteFile(archive, before);
    }
}

TEST_F(SaveTest, FullDiskDuringAnIndexOnlyRewriteKeepsTheOldIndex)
{
    MakeStoredContainer();
    const std::vector<std::string> before = OpenedNames(archive);
    container.Tree.TopLevel(1)->Item().Name = "renamed";
    container.SetModified(true, false);
    FailFileWritesAfter(30);
    EXPECT_NE(SaveContainer(container, false), SaveResult::Ok);
    FailFileWritesAfter(-1);
    EXPECT_EQ(OpenedNames(archive), before);
}

}  // namespace
}  // namespace pyxa
