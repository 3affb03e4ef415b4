#include "editing/NameRules.h"
#include "editing/Sort.h"
#include "helpers/FakeHost.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

std::unique_ptr<TItemInfo> Item(const std::string& name, bool folder)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = folder;
    return item;
}

TEST(CleanItemName, TrimsReplacesAndDropsDots)
{
    const std::pair<std::string, std::string> cases[] = {
        {"  a:b\\c.  ", "a_b_c."},
        {"...", "No Name"},
        {"", "No Name"},
        {" \t ", "No Name"},
        {".hidden", ".hidden"},
        {"name.", "name."},
        {"a.b.c", "a.b.c"},
        {"two\r\nlines", "twolines"},
        {"dir/file", "dir_file"},
        {"..", "No Name"},
        {"../../etc/passwd", ".._.._etc_passwd"},
        {std::string("nul\0byte", 8), "nul_byte"},
        {"keep *?<>|\" these", "keep *?<>|\" these"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& [raw, cleaned] : cases)
        EXPECT_EQ(CleanItemName(raw), cleaned) << raw;
}

TEST(UniqueNames, CountUpPastCaseInsensitiveClashes)
{
    TCatalogue tree;
    TTreeNode* folder = tree.Add(nullptr, Item("F", true));
    tree.Add(folder, Item("a.txt", false));
    tree.Add(folder, Item("copy (1) of A.TXT", false));
    EXPECT_EQ(UniqueCopyName(tree, "A.txt", folder), "Copy (2) of A.txt");
    EXPECT_EQ(UniqueCopyName(tree, "b.txt", folder), "b.txt");
    EXPECT_EQ(UniqueCopyName(tree, " .x: ", folder), ".x_");

    tree.Add(nullptr, Item("New Folder", true));
    tree.Add(nullptr, Item("new folder (1)", false));
    EXPECT_EQ(UniqueSiblingName(tree, nullptr, "New Folder", nullptr), "New Folder (2)");
    TTreeNode* self = tree.TopLevel(2);
    ASSERT_EQ(self->Text(), "new folder (1)");
    EXPECT_EQ(UniqueSiblingName(tree, nullptr, "New Folder", self), "New Folder (1)") << "ignored node";
    // Only A-Z fold: other letters must match exactly.
    tree.Add(nullptr, Item("\xC3\x89t\xC3\xA9", false));
    EXPECT_EQ(UniqueSiblingName(tree, nullptr, "\xC3\xA9t\xC3\xA9", nullptr), "\xC3\xA9t\xC3\xA9");
}

TEST(UniqueNames, SiblingTestsKindAndCase)
{
    TCatalogue tree;
    tree.Add(nullptr, Item("docs", true));
    tree.Add(nullptr, Item("notes", false));
    EXPECT_TRUE(NameExistsAmongSiblings(tree, nullptr, "docs", false, true));
    EXPECT_FALSE(NameExistsAmongSiblings(tree, nullptr, "DOCS", false, true));
    EXPECT_TRUE(NameExistsAmongSiblings(tree, nullptr, "DOCS", true, true));
    EXPECT_FALSE(NameExistsAmongSiblings(tree, nullptr, "docs", false, false)) << "a file may share a folder's name";
}

TEST(NodeExists, FindsOnlyNodesInTheBranch)
{
    TCatalogue tree;
    EXPECT_FALSE(NodeExists(tree, nullptr, nullptr));
    TTreeNode* a = tree.Add(nullptr, Item("a", true));
    TTreeNode* inner = tree.Add(a, Item("x", false));
    TTreeNode* b = tree.Add(nullptr, Item("b", true));
    EXPECT_TRUE(NodeExists(tree, a, a));
    EXPECT_TRUE(NodeExists(tree, inner, a));
    EXPECT_FALSE(NodeExists(tree, b, a));
    EXPECT_TRUE(NodeExists(tree, b, nullptr));
    EXPECT_FALSE(NodeExists(tree, nullptr, a));
}

TEST(SortSubtree, FoldersFirstThenNamesWithoutCase)
{
    test::FakeHost host;
    TCatalogue tree;
    TTreeNode* top = tree.Add(nullptr, Item("top", true));
    tree.Add(top, Item("b.txt", false));
    tree.Add(top, Item("Zed", true));
    tree.Add(top, Item("A.txt", false));
    TTreeNode* alpha = tree.Add(top, Item("alpha", true));
    tree.Add(alpha, Item("y", false));
    tree.Add(alpha, Item("X", false));
    SortSubtree(tree, top, host);
    std::vector<std::string> names;
    for (TTreeNode* node : tree.Nodes())
        names.push_back(node->Text());
    EXPECT_EQ(names, (std::vector<std::string> {"top", "alpha", "X", "y", "Zed", "A.txt", "b.txt"}));
}

}  // namespace
}  // namespace pyxa
