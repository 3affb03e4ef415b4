#include "CataloguePath.h"

namespace pyxa::cli {

std::string CataloguePath(const TTreeNode& node)
{
    return ItemPath(nullptr, &node, false, '/');
}

TTreeNode* FindByPath(const TCatalogue& tree, const std::string& path)
{
    TTreeNode* parent = nullptr;
    TTreeNode* found = nullptr;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        if (found && !found->IsFolder())
            return nullptr;
        found = nullptr;
        for (int i = 0; i < tree.ChildCount(parent); ++i) {
            TTreeNode* child = tree.Child(parent, i);
            if (child->Text() == name) {
                found = child;
                break;
            }
        }
        if (!found)
            return nullptr;
        parent = found;
    }
    return found;
}

}  // namespace pyxa::cli
