#include "editing/Sort.h"

namespace pyxa {

void SortSubtree(TCatalogue& tree, TTreeNode* top, THost& host)
{
    const auto foldersFirstByName = [&host](const TTreeNode& a, const TTreeNode& b) {
        if (a.IsFolder() != b.IsFolder())
            return a.IsFolder();
        return host.CompareNames(a.Text(), b.Text()) < 0;
    };
    for (TTreeNode* node : SubtreeNodes(top)) {
        if (node->IsFolder() && node->HasChildren())
            tree.SortChildren(node, foldersFirstByName);
    }
}

}  // namespace pyxa
