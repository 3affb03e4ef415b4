#include "container/ContainerInfo.h"

#include "container/Iso8601.h"
#include "support/FileUtil.h"
#include "support/SizeText.h"

#include <cstdio>
#include <initializer_list>

namespace pyxa {

namespace {

constexpr size_t kCommentsShown = 256;

std::string JoinLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty())
            text += "\r\n";
        text += line;
    }
    return text;
}

std::string YesNo(bool value)
{
    return value ? "yes" : "no";
}

// The first 256 characters (code points, never a split character) and "..." when longer.
std::string ShortenedComments(const std::string& comments)
{
    size_t characters = 0;
    for (size_t i = 0; i < comments.size(); ++i) {
        if ((static_cast<unsigned char>(comments[i]) & 0xC0) == 0x80)
            continue;
        if (characters == kCommentsShown)
            return comments.substr(0, i) + "...";
        ++characters;
    }
    return comments;
}

std::string HexCrc(uint32_t crc)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", crc);
    return text;
}

struct TTotals {
    int64_t Files = 0;
    int64_t Folders = 0;
    int64_t Size = 0;

    void Count(const TItemInfo& item)
    {
        if (item.IsFolder) {
            ++Folders;
        } else {
            ++Files;
            Size += item.Size;
        }
    }
};

std::string RatioText(int64_t containerSize, int64_t storedSize)
{
    // Nothing stored: no ratio to speak of.
    const double ratio =
        storedSize > 0 ? (1.0 - static_cast<double>(containerSize) / static_cast<double>(storedSize)) * 100.0 : 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%1.1f", ratio);
    return text;
}

}  // namespace

TInfoText FileInfoText(const TItemInfo& item)
{
    return {"File information:",
            JoinLines({"Name: \"" + item.Name + "\"", "File size: " + SizeText(item.Size, true),
                       "Added on date: " + DateTimeZToText(item.Added),
                       "Original date: " + DateTimeZToText(item.Original), "Encrypted: " + YesNo(item.Encrypted),
                       "CRC32: " + HexCrc(item.Crc), "Comments: " + ShortenedComments(item.Comments)})};
}

TInfoText FolderInfoText(const TTreeNode& folder)
{
    TTotals totals;
    for (const TTreeNode* node : SubtreeNodes(&folder))
        totals.Count(node->Item());
    const TItemInfo& item = folder.Item();
    return {"Folder information:",
            JoinLines({"Name: \"" + item.Name + "\"", "Total files: " + std::to_string(totals.Files),
                       "Total subfolders: " + std::to_string(totals.Folders - 1),
                       "Total size: " + SizeText(totals.Size, false), "Added on date: " + DateTimeZToText(item.Added),
                       "Access restriction: " + YesNo(item.Encrypted),
                       "Comments: " + ShortenedComments(item.Comments)})};
}

TInfoText ContainerInfoText(const TContainer& container)
{
    TTotals totals;
    for (TTreeNode* node : container.Tree.Nodes())
        totals.Count(node->Item());
    const int64_t fileSize = FileSizeOf(container.FileName);
    const TDateTime fileDate = FileDateOf(container.FileName);
    return {"Pyxa file information:",
            JoinLines({"File name: \"" + NameWithoutFolder(container.FileName) + "\"",
                       "File size: " + SizeText(fileSize, false),
                       "Last saved: " + (fileDate < 0 ? std::string() : DateTimeToLongText(fileDate)),
                       "Stored files: " + std::to_string(totals.Files),
                       "Stored folders: " + std::to_string(totals.Folders),
                       "Stored size: " + SizeText(totals.Size, false),
                       "Compression ratio: " + RatioText(fileSize, totals.Size) + "%",
                       "Full path: \"" + container.FileName.string() + "\""})};
}

TInfoText SelectedInfoText(const TContainer& container)
{
    const TTreeNode* selected = container.SelectedItem();
    if (!selected)
        return ContainerInfoText(container);
    return selected->IsFolder() ? FolderInfoText(*selected) : FileInfoText(selected->Item());
}

}  // namespace pyxa
