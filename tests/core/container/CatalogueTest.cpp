#include "container/Catalogue.h"
#include "container/Container.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

std::unique_ptr<TItemInfo> Folder(const std::string& name)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = true;
    return item;
}

std::unique_ptr<TItemInfo> File(const std::string& name, const std::filesystem::path& tmp = {})
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->TmpCmpFile = tmp;
    return item;
}

std::vector<std::string> Names(const std::vector<TTreeNode*>& nodes)
{
    std::vector<std::string> names;
    for (const TTreeNode* node : nodes)
        names.push_back(node->Text());
    return names;
}

TEST(Catalogue, TreeOrderVisitsEachNodeBeforeItsSubtreeAndSiblingsInOrder)
{
    TCatalogue tree;
    TTreeNode* docs = tree.Add(nullptr, Folder("Docs"));
    tree.Add(nullptr, File("top.txt"));
    TTreeNode* old = tree.Add(docs, Folder("Old"));
    tree.Add(old, File("a.txt"));
    tree.Add(docs, File("b.txt"));
    tree.Insert(docs, 0, File("first.txt"));

    EXPECT_EQ(Names(tree.Nodes()),
              (std::vector<std::string> {"Docs", "first.txt", "Old", "a.txt", "b.txt", "top.txt"}));
    EXPECT_EQ(tree.Count(), 6);
    EXPECT_EQ(old->Parent(), docs);
    EXPECT_EQ(docs->Parent(), nullptr);
    EXPECT_EQ(old->IndexInParent(), 1);
}

TEST(Catalogue, ItemPathJoinsFoldersAndHonoursTheStopNode)
{
    TCatalogue tree;
    TTreeNode* docs = tree.Add(nullptr, Folder("Docs"));
    TTreeNode* old = tree.Add(docs, Folder("Old"));
    TTreeNode* file = tree.Add(old, File("a.txt"));

    EXPECT_EQ(ItemPath(nullptr, file, false), "Docs\\Old\\a.txt");
    EXPECT_EQ(ItemPath(nullptr, old, false), "Docs\\Old\\");
    EXPECT_EQ(ItemPath(docs, file, true), "Old\\a.txt");
    EXPECT_EQ(ItemPath(docs, file, false), "Docs\\Old\\a.txt");
    EXPECT_EQ(ItemPath(old, file, false, '/'), "Old/a.txt");
    // A stop node that is not an ancestor gives the full path.
    TTreeNode* other = tree.Add(nullptr, Folder("Other"));
    EXPECT_EQ(ItemPath(other, file, true, '/'), "Docs/Old/a.txt");
}

TEST(Catalogue, PendingTemporaryFilesGoWithTheirNodes)
{
    test::TempDir dir;
    const auto keptTmp = dir / "kept.dat";
    const auto deletedTmp = dir / "deleted.dat";
    const auto clearedTmp = dir / "cleared.dat";
    for (const auto& path : {keptTmp, deletedTmp, clearedTmp})
        test::WriteFile(path, "packed");

    TCatalogue tree;
    TTreeNode* folder = tree.Add(nullptr, Folder("F"));
    tree.Add(folder, File("deleted", deletedTmp));
    tree.Add(nullptr, File("kept", keptTmp));
    tree.Add(nullptr, File("missing", dir / "never-made.dat"));

    tree.Delete(folder);
    EXPECT_FALSE(std::filesystem::exists(deletedTmp));
    EXPECT_TRUE(std::filesystem::exists(keptTmp));
    EXPECT_EQ(tree.Count(), 2);

    tree.Add(nullptr, File("cleared", clearedTmp));
    tree.Clear();
    EXPECT_FALSE(std::filesystem::exists(keptTmp));
    EXPECT_FALSE(std::filesystem::exists(clearedTmp));
    EXPECT_TRUE(tree.Empty());
}

TEST(Catalogue, DeeplyNestedTreesAreWalkedAndFreedWithoutRecursion)
{
    TCatalogue tree;
    TTreeNode* parent = nullptr;
    for (int depth = 0; depth < 200000; ++depth)
        parent = tree.Add(parent, Folder("d"));
    EXPECT_EQ(tree.Nodes().size(), 200000u);
    EXPECT_EQ(SubtreeCount(tree.TopLevel(0)), 200000);
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
}

struct ModifiedStep {
    bool Ind;
    bool Dat;
    bool ExpectInd;
    bool ExpectDat;
};

TEST(Container, SetModifiedSetsFlagsOneWayAndClearsBothTogether)
{
    struct CountingHost : test::FakeHost {
        int Changes = 0;
        void ModifiedChanged() override { ++Changes; }
    } counting;
    TContainer container(counting);
    const ModifiedStep steps[] = {
        {false, true, false, true},
        {true, false, true, true},   // a set flag stays set
        {false, true, true, true},
        {false, false, false, false},  // both cleared together
        {true, false, true, false},
    };
    for (const ModifiedStep& step : steps) {
        container.SetModified(step.Ind, step.Dat);
        EXPECT_EQ(container.ModifiedInd, step.ExpectInd);
        EXPECT_EQ(container.ModifiedDat, step.ExpectDat);
    }
    EXPECT_EQ(counting.Changes, 5);
}

TEST(Container, SelectingTheSameNodeAgainNotifiesNothing)
{
    struct CountingHost : test::FakeHost {
        int Changes = 0;
        void SelectedItemChanged() override { ++Changes; }
    } host;
    TContainer container(host);
    TTreeNode* node = container.Tree.Add(nullptr, Folder("F"));
    container.SetSelectedItem(node);
    container.SetSelectedItem(node);
    EXPECT_EQ(host.Changes, 1);
    EXPECT_EQ(container.SelectedItem(), node);
    container.SetSelectedItem(nullptr);
    EXPECT_EQ(host.Changes, 2);
}

TEST(Container, CloseCatalogueWithFullResetReturnsToANewContainer)
{
    test::FakeHost host;
    test::TempDir dir;
    TContainer container(host);
    container.WorkingFolder.Create(dir.Path());
    test::WriteFile(container.WorkingFolder.ShellFolder() / "opened.txt", "x");
    container.Tree.Add(nullptr, Folder("F"));
    container.FileName = dir / "a.pyxa";
    container.GlobalPassword = "secret";
    container.SetLocked(true);
    container.SetModified(true, true);
    container.SetSelectedItem(container.Tree.TopLevel(0));

    container.CloseCatalogue(true);

    EXPECT_TRUE(container.Tree.Empty());
    EXPECT_TRUE(container.FileName.empty());
    EXPECT_TRUE(container.GlobalPassword.empty());
    EXPECT_FALSE(container.Locked());
    EXPECT_FALSE(container.Modified());
    EXPECT_EQ(container.SelectedItem(), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(container.WorkingFolder.ShellFolder()));
    EXPECT_TRUE(std::filesystem::exists(container.WorkingFolder.TestFolder()));
}

}  // namespace
}  // namespace pyxa
