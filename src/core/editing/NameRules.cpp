#include "editing/NameRules.h"

#include <algorithm>

namespace pyxa {

namespace {

bool IsBlankOrControl(unsigned char c)
{
    return c == ' ' || c < 0x20 || c == 0x7F;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SiblingTextMatches(const TCatalogue& tree, const TTreeNode* parent, const std::string& candidate,
                        const TTreeNode* ignored)
{
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TTreeNode* child = tree.Child(parent, i);
        if (child != ignored && SameTextIgnoringCase(child->Text(), candidate))
            return true;
    }
    return false;
}

}  // namespace

bool SameTextIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string CleanItemName(const std::string& name)
{
    size_t first = 0;
    size_t last = name.size();
    while (first < last && IsBlankOrControl(static_cast<unsigned char>(name[first])))
        ++first;
    while (last > first && IsBlankOrControl(static_cast<unsigned char>(name[last - 1])))
        --last;
    std::string cleaned;
    for (size_t i = first; i < last; ++i) {
        const char c = name[i];
        if (c == '\r' || c == '\n')
            continue;
        // "/" separates paths on this platform, as "\" and ":" do elsewhere; NUL ends names.
        cleaned += c == '\\' || c == ':' || c == '/' || c == '\0' ? '_' : c;
    }
    // Leading and trailing dots are part of names here (".config" is a hidden folder, not
    // "config"); only a name made of nothing but dots is no name at all.
    if (cleaned.find_first_not_of('.') == std::string::npos)
        return "No Name";
    return cleaned;
}

std::string UniqueSiblingName(const TCatalogue& tree, const TTreeNode* parent, const std::string& wanted,
                              const TTreeNode* ignored)
{
    std::string candidate = wanted;
    for (int n = 1; SiblingTextMatches(tree, parent, candidate, ignored); ++n)
        candidate = wanted + " (" + std::to_string(n) + ")";
    return candidate;
}

std::string UniqueCopyName(const TCatalogue& tree, const std::string& wanted, const TTreeNode* parent)
{
    const std::string base = CleanItemName(wanted);
    std::string candidate = base;
    for (int n = 1; SiblingTextMatches(tree, parent, candidate, nullptr); ++n)
        candidate = "Copy (" + std::to_string(n) + ") of " + base;
    return candidate;
}

bool NameExistsAmongSiblings(const TCatalogue& tree, const TTreeNode* parent, const std::string& name,
                             bool ignoreCase, bool isFolder)
{
    for (int i = 0; i < tree.ChildCount(parent); ++i) {
        const TTreeNode* child = tree.Child(parent, i);
        if (child->IsFolder() == isFolder &&
            (ignoreCase ? SameTextIgnoringCase(child->Text(), name) : child->Text() == name))
            return true;
    }
    return false;
}

bool NodeExists(const TCatalogue& tree, const TTreeNode* node, const TTreeNode* root)
{
    if (tree.Empty() || !node)
        return false;
    if (!root) {
        for (const TTreeNode* current : tree.Nodes()) {
            if (current == node)
                return true;
        }
        return false;
    }
    for (const TTreeNode* current : SubtreeNodes(root)) {
        if (current == node)
            return true;
    }
    return false;
}

std::unique_ptr<TItemInfo> NewFolderItem(const std::string& name)
{
    auto item = std::make_unique<TItemInfo>();
    item->Name = name;
    item->IsFolder = true;
    item->Added = NowDateTimeZ();
    item->Original = NowDateTimeZ();
    return item;
}

TTreeNode* AddFolderNode(TCatalogue& tree, TTreeNode* parent, const std::string& name)
{
    return tree.Add(parent, NewFolderItem(name));
}

}  // namespace pyxa
