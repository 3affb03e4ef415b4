#include "container/ContainerInfo.h"
#include "container/Iso8601.h"
#include "helpers/FakeHost.h"
#include "helpers/TempDir.h"
#include "support/FileUtil.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

std::vector<std::string> Lines(const std::string& content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at = content.find("\r\n"); at != std::string::npos; at = content.find("\r\n", start)) {
        lines.push_back(content.substr(start, at - start));
        start = at + 2;
    }
    lines.push_back(content.substr(start));
    return lines;
}

std::unique_ptr<TItemInfo> Item(const std::string& name, bool folder, int64_t size = 0)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = folder;
    item->Size = size;
    return item;
}

TEST(ContainerInfo, FileLinesInOrder)
{
    TItemInfo item;
    item.Name = "report.pdf";
    item.Size = 1500;
    item.Crc = 0x0000ABCD;
    item.Encrypted = true;
    item.Comments = "two\r\nlines";
    const TInfoText info = FileInfoText(item);
    EXPECT_EQ(info.Instruction, "File information:");
    EXPECT_EQ(Lines(info.Content), (std::vector<std::string> {"Name: \"report.pdf\"", "File size: 1.46KB (1500Bytes)",
                                                              "Added on date: ", "Original date: ", "Encrypted: yes",
                                                              "CRC32: 0000ABCD", "Comments: two", "lines"}));
}

TEST(ContainerInfo, CommentsAreCutAfter256Characters)
{
    TItemInfo item;
    const std::string lastLine = "Comments: ";
    item.Comments = std::string(256, 'x');
    EXPECT_EQ(Lines(FileInfoText(item).Content).back(), lastLine + std::string(256, 'x'));
    item.Comments = std::string(257, 'x');
    EXPECT_EQ(Lines(FileInfoText(item).Content).back(), lastLine + std::string(256, 'x') + "...");
    // Characters, not bytes: a multi-byte character is never split.
    std::string accented;
    for (int i = 0; i < 257; ++i)
        accented += "\xC3\xA9";
    item.Comments = accented;
    EXPECT_EQ(Lines(FileInfoText(item).Content).back(), lastLine + accented.substr(0, 512) + "...");
}

TEST(ContainerInfo, FolderCountsItsWholeSubtreeButNotItself)
{
    TCatalogue tree;
    TTreeNode* top = tree.Add(nullptr, Item("Top", true));
    TTreeNode* sub = tree.Add(top, Item("Sub", true));
    tree.Add(sub, Item("a", false, 600));
    tree.Add(sub, Item("b", false, 400));
    tree.Add(nullptr, Item("outside", false, 5));
    TTreeNode* empty = tree.Add(nullptr, Item("Empty", true));

    const auto lines = Lines(FolderInfoText(*top).Content);
    EXPECT_EQ(lines[0], "Name: \"Top\"");
    EXPECT_EQ(lines[1], "Total files: 2");
    EXPECT_EQ(lines[2], "Total subfolders: 1");
    EXPECT_EQ(lines[3], "Total size: 0.98KB");
    EXPECT_EQ(lines[5], "Access restriction: no");

    const auto emptyLines = Lines(FolderInfoText(*empty).Content);
    EXPECT_EQ(emptyLines[1], "Total files: 0");
    EXPECT_EQ(emptyLines[2], "Total subfolders: 0");
    EXPECT_EQ(emptyLines[3], "Total size: 0Bytes");
}

TEST(ContainerInfo, ContainerRatioComparesTheFileWithTheStoredSize)
{
    test::FakeHost host;
    test::TempDir dir;
    TContainer container(host);
    container.FileName = dir / "box.pyxa";
    test::WriteFile(container.FileName, std::string(600, 'x'));
    container.Tree.Add(nullptr, Item("a", false, 700));
    TTreeNode* folder = container.Tree.Add(nullptr, Item("F", true));
    container.Tree.Add(folder, Item("b", false, 300));

    TInfoText info = SelectedInfoText(container);
    EXPECT_EQ(info.Instruction, "Pyxa file information:");
    auto lines = Lines(info.Content);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "File name: \"box.pyxa\"");
    EXPECT_EQ(lines[1], "File size: 600Bytes");
    EXPECT_EQ(lines[2], "Last saved: " + DateTimeToLongText(FileDateOf(container.FileName)));
    EXPECT_EQ(lines[3], "Stored files: 2");
    EXPECT_EQ(lines[4], "Stored folders: 1");
    EXPECT_EQ(lines[5], "Stored size: 0.98KB");
    EXPECT_EQ(lines[6], "Compression ratio: 40.0%");
    EXPECT_EQ(lines[7], "Full path: \"" + container.FileName.string() + "\"");

    test::WriteFile(container.FileName, std::string(1500, 'x'));
    EXPECT_EQ(Lines(ContainerInfoText(container).Content)[6], "Compression ratio: -50.0%");

    container.Tree.Clear();
    EXPECT_EQ(Lines(ContainerInfoText(container).Content)[6], "Compression ratio: 0.0%");
}

TEST(ContainerInfo, SelectedNodeChoosesTheText)
{
    test::FakeHost host;
    TContainer container(host);
    TTreeNode* folder = container.Tree.Add(nullptr, Item("F", true));
    TTreeNode* file = container.Tree.Add(folder, Item("f", false, 1));
    container.SetSelectedItem(folder);
    EXPECT_EQ(SelectedInfoText(container).Instruction, "Folder information:");
    container.SetSelectedItem(file);
    EXPECT_EQ(SelectedInfoText(container).Instruction, "File information:");
}

}  // namespace
}  // namespace pyxa
