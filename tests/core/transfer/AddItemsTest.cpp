#include "codecs/ItemPipeline.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "transfer/AddItems.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace pyxa {
namespace {

namespace fs = std::filesystem;

class AddItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir / "work");
        container.WorkingFolder.Create(dir / "work");
    }

    std::vector<std::string> Paths()
    {
        std::vector<std::string> paths;
        for (TTreeNode* node : container.Tree.Nodes())
            paths.push_back(ItemPath(nullptr, node, false, '/'));
        return paths;
    }

    std::string Unpacked(TTreeNode* node)
    {
        const fs::path out = dir / "out.bin";
        fs::remove(out);
        EXPECT_EQ(UnpackItem(container, node->Item(), out, false), UnpackResult::Ok);
        return test::ReadFile(out);
    }

    test::TempDir dir;
    test::FakeHost host;
    TContainer container {host};
};

TEST_F(AddItemsTest, FilesArePackedPendingAndNamedUniquely)
{
    test::WriteFile(dir / "src/a.txt", "alpha");
    test::WriteFile(dir / "src/other/A.TXT", "second alpha");
    TAddCounters counters;
    AddFiles(container, nullptr, {dir / "src/a.txt", dir / "src/other/A.TXT", dir / "src/missing"}, counters);

    EXPECT_EQ(Paths(), (std::vector<std::string> {"a.txt", "Copy (1) of A.TXT"}));
    const TItemInfo& item = container.Tree.TopLevel(0)->Item();
    EXPECT_EQ(item.Index, -1);
    EXPECT_TRUE(fs::exists(item.TmpCmpFile));
    EXPECT_EQ(item.Size, 5);
    EXPECT_TRUE(item.Added.Exists);
    EXPECT_TRUE(item.Original.Exists);
    EXPECT_FALSE(item.Encrypted);
    EXPECT_EQ(Unpacked(container.Tree.TopLevel(1)), "second alpha");
    EXPECT_EQ(counters.FilesAdded, 2);
    EXPECT_EQ(host.LastStatus(), "2 of 3 files successfully added. Total size: 17Bytes");
    EXPECT_TRUE(host.Logged("Adding files"));
    EXPECT_TRUE(host.Logged("Operation completed"));
    EXPECT_TRUE(container.ModifiedInd && container.ModifiedDat);
}

TEST_F(AddItemsTest, TotalsTextsForOneNoneAndCancel)
{
    test::WriteFile(dir / "one.txt", "12345");
    TAddCounters counters;
    AddFiles(container, nullptr, {dir / "missing1", dir / "one.txt"}, counters);
    EXPECT_EQ(host.LastStatus(), "1 file added. File size: 5Bytes");

    AddFiles(container, nullptr, {dir / "missing"}, counters);
    EXPECT_EQ(host.LastStatus(), "No files added.");
    EXPECT_TRUE(container.Modified()) << "marked before the first file is packed";

    host.CancelAfterLoops = host.MessageLoops + 1;
    AddFiles(container, nullptr, {dir / "one.txt", dir / "one.txt"}, counters);
    EXPECT_EQ(host.LastStatus(), "Operation cancelled.");
    EXPECT_EQ(counters.FilesAdded, 1) << "the file added before the cancel stays";
}

TEST_F(AddItemsTest, AutomaticPasswordEncryptsEveryAddedFile)
{
    test::WriteFile(dir / "secret.txt", "classified");
    container.GlobalPassword = "pw";
    TAddCounters counters;
    TTreeNode* node = AddFiles(container, nullptr, {dir / "secret.txt"}, counters);
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->Item().Encrypted);
    node->Item().TmpPass.clear();
    container.GlobalPassword.clear();
    host.PasswordAnswers.push_back({true, "pw", false});
    EXPECT_EQ(Unpacked(node), "classified");
}

TEST_F(AddItemsTest, FolderTreeComesInWithFilesBeforeSubfoldersAndSorted)
{
    test::WriteFile(dir / "Photos/b.jpg", "b");
    test::WriteFile(dir / "Photos/A.jpg", "a");
    test::WriteFile(dir / "Photos/Trips/2020/x.jpg", "x");
    test::WriteFile(dir / "Photos/.hidden", "h");
    fs::create_directories(dir / "Photos/Empty");
    auto clash = std::make_unique<TItemInfo>();
    clash->Name = "photos";
    container.Tree.Add(nullptr, std::move(clash));

    TAddCounters counters;
    TTreeNode* top = AddFolder(container, nullptr, dir / "Photos/", counters);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Text(), "Photos (1)");
    EXPECT_EQ(Paths(), (std::vector<std::string> {"photos", "Photos (1)/", "Photos (1)/Empty/", "Photos (1)/Trips/",
                                                  "Photos (1)/Trips/2020/", "Photos (1)/Trips/2020/x.jpg",
                                                  "Photos (1)/.hidden", "Photos (1)/A.jpg", "Photos (1)/b.jpg"}));
    EXPECT_EQ(counters.FilesFound, 4);
    EXPECT_EQ(counters.FilesAdded, 4);
    EXPECT_EQ(host.LastStatus(), "4 of 4 files added. Total size: 4Bytes");
}

TEST_F(AddItemsTest, OnlyEmptyFoldersAddNoFiles)
{
    fs::create_directories(dir / "Tree/a/b");
    TAddCounters counters;
    AddFolder(container, nullptr, dir / "Tree", counters);
    EXPECT_EQ(Paths(), (std::vector<std::string> {"Tree/", "Tree/a/", "Tree/a/b/"}));
    EXPECT_EQ(host.LastStatus(), "No files added.");
    EXPECT_FALSE(host.Logged("Operation completed"));
}

TEST_F(AddItemsTest, LinksToFilesAreStoredLinksToFoldersAreNotFollowed)
{
    test::WriteFile(dir / "Outside/secret.txt", "outside");
    test::WriteFile(dir / "Tree/real.txt", "real");
    fs::create_symlink(dir / "Tree/real.txt", dir / "Tree/link.txt");
    fs::create_directory_symlink(dir / "Tree", dir / "Tree/loop");
    fs::create_directory_symlink(dir / "Outside", dir / "Tree/out");
    fs::create_symlink(dir / "nowhere", dir / "Tree/dangling");
    ASSERT_EQ(mkfifo((dir / "Tree/pipe").c_str(), 0600), 0);

    TAddCounters counters;
    AddFolder(container, nullptr, dir / "Tree", counters);
    EXPECT_EQ(Paths(), (std::vector<std::string> {"Tree/", "Tree/link.txt", "Tree/real.txt"}));
    EXPECT_EQ(Unpacked(container.Tree.TopLevel(0)->Child(0)), "real");
}

TEST_F(AddItemsTest, MissingFolderAddsNothing)
{
    TAddCounters counters;
    EXPECT_EQ(AddFolder(container, nullptr, dir / "nope", counters), nullptr);
    EXPECT_EQ(host.LastStatus(), "No files added.");
    EXPECT_TRUE(container.Tree.Empty());
}

}  // namespace
}  // namespace pyxa
