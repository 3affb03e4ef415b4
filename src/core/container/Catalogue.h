#pragma once
// The catalogue tree: ordered children, parent links, one item record per node.
// Tree order is each node followed by its whole subtree, siblings in order.

#include "container/ItemInfo.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pyxa {

class TCatalogue;

class TTreeNode {
public:
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TItemInfo& Item() { return *FItem; }
    const TItemInfo& Item() const { return *FItem; }
    const std::string& Text() const { return FItem->Name; }
    bool IsFolder() const { return FItem->IsFolder; }

    // nullptr for a top-level node.
    TTreeNode* Parent() const;
    int ChildCount() const { return static_cast<int>(FChildren.size()); }
    TTreeNode* Child(int index) const { return FChildren[static_cast<size_t>(index)].get(); }
    bool HasChildren() const { return !FChildren.empty(); }
    // Position among its siblings.
    int IndexInParent() const;

    // Image and selected-image index are the same value; nodes built from the index start with 0.
    int ImageIndex = 0;
    int StateIndex = -1;
    // Open in the view. The front end sets and clears it as it expands and collapses the node; a
    // restricted folder becomes expanded only through OpenRestrictedFolder. The state dies with the
    // node, so a deleted folder can never pass its opening on to a new one.
    bool Expanded = false;

private:
    friend class TCatalogue;
    explicit TTreeNode(std::unique_ptr<TItemInfo> item) : FItem(std::move(item)) {}

    TTreeNode* FParent = nullptr;
    bool FIsRoot = false;
    std::unique_ptr<TItemInfo> FItem;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
};

class TCatalogue {
public:
    TCatalogue();
    ~TCatalogue();
    TCatalogue(const TCatalogue&) = delete;
    TCatalogue& operator=(const TCatalogue&) = delete;

    // Appends a node as the last child of parent (nullptr: the top level).
    TTreeNode* Add(TTreeNode* parent, std::unique_ptr<TItemInfo> item);
    // Inserts a node at position among the children of parent.
    TTreeNode* Insert(TTreeNode* parent, int position, std::unique_ptr<TItemInfo> item);
    // Reorders the children of parent (the top level when null), keeping equal ones in order.
    void SortChildren(TTreeNode* parent, const std::function<bool(const TTreeNode&, const TTreeNode&)>& less);
    // Removes a node with its subtree; pending items' temporary files are deleted.
    void Delete(TTreeNode* node);
    // Empties the catalogue; pending items' temporary files are deleted.
    void Clear();

    int Count() const { return FCount; }
    bool Empty() const { return FCount == 0; }
    int TopLevelCount() const { return FRoot->ChildCount(); }
    TTreeNode* TopLevel(int index) const { return FRoot->Child(index); }
    // Children of parent, or the top level for nullptr.
    int ChildCount(const TTreeNode* parent) const;
    TTreeNode* Child(const TTreeNode* parent, int index) const;

    // Every node in tree order.
    std::vector<TTreeNode*> Nodes() const;

private:
    TTreeNode* Attach(TTreeNode* parent, size_t position, std::unique_ptr<TItemInfo> item);
    static void Destroy(std::unique_ptr<TTreeNode> node);

    std::unique_ptr<TTreeNode> FRoot;
    int FCount = 0;
};

// The node followed by its whole subtree, in tree order.
std::vector<TTreeNode*> SubtreeNodes(TTreeNode* node);
std::vector<const TTreeNode*> SubtreeNodes(const TTreeNode* node);
// Number of nodes in the subtree of node, node included.
int SubtreeCount(const TTreeNode* node);

// Path of node relative to stop: each folder contributes its text and a separator in front of the
// path built so far, a file its text. With excludeStop the walk ends before stop, otherwise after it.
// A null stop (or one that is not an ancestor) gives the full catalogue path.
std::string ItemPath(const TTreeNode* stop, const TTreeNode* node, bool excludeStop, char separator = '\\');

}  // namespace pyxa
