#include "container/Catalogue.h"

#include "support/FileUtil.h"

#include <algorithm>

namespace pyxa {

TTreeNode::~TTreeNode()
{
    // A pending item owns its temporary file.
    if (FItem && !FItem->TmpCmpFile.empty())
        DeleteFileIfExists(FItem->TmpCmpFile);
}

TTreeNode* TTreeNode::Parent() const
{
    return FParent && !FParent->FIsRoot ? FParent : nullptr;
}

int TTreeNode::IndexInParent() const
{
    if (!FParent)
        return -1;
    const auto& siblings = FParent->FChildren;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this)
            return static_cast<int>(i);
    }
    return -1;
}

TCatalogue::TCatalogue() : FRoot(new TTreeNode(nullptr))
{
    FRoot->FIsRoot = true;
}

TCatalogue::~TCatalogue()
{
    Clear();
}

TTreeNode* TCatalogue::Attach(TTreeNode* parent, size_t position, std::unique_ptr<TItemInfo> item)
{
    TTreeNode* owner = parent ? parent : FRoot.get();
    std::unique_ptr<TTreeNode> node(new TTreeNode(std::move(item)));
    node->FParent = owner;
    TTreeNode* raw = node.get();
    position = std::min(position, owner->FChildren.size());
    owner->FChildren.insert(owner->FChildren.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
    ++FCount;
    return raw;
}

TTreeNode* TCatalogue::Add(TTreeNode* parent, std::unique_ptr<TItemInfo> item)
{
    return Attach(parent, static_cast<size_t>(-1), std::move(item));
}

TTreeNode* TCatalogue::Insert(TTreeNode* parent, int position, std::unique_ptr<TItemInfo> item)
{
    return Attach(parent, static_cast<size_t>(std::max(position, 0)), std::move(item));
}

void TCatalogue::SortChildren(TTreeNode* parent,
                              const std::function<bool(const TTreeNode&, const TTreeNode&)>& less)
{
    auto& children = (parent ? parent : FRoot.get())->FChildren;
    std::stable_sort(children.begin(), children.end(),
                     [&less](const auto& a, const auto& b) { return less(*a, *b); });
}

void TCatalogue::Destroy(std::unique_ptr<TTreeNode> node)
{
    // Iterative, so that deeply nested catalogues cannot exhaust the stack.
    std::vector<std::unique_ptr<TTreeNode>> pending;
    pending.push_back(std::move(node));
    while (!pending.empty()) {
        std::unique_ptr<TTreeNode> current = std::move(pending.back());
        pending.pop_back();
        for (auto& child : current->FChildren)
            pending.push_back(std::move(child));
        current->FChildren.clear();
    }
}

void TCatalogue::Delete(TTreeNode* node)
{
    if (!node || node == FRoot.get())
        return;
    const int removed = SubtreeCount(node);
    auto& siblings = node->FParent->FChildren;
    auto it = std::find_if(siblings.begin(), siblings.end(), [node](const auto& p) { return p.get() == node; });
    if (it == siblings.end())
        return;
    std::unique_ptr<TTreeNode> owned = std::move(*it);
    siblings.erase(it);
    FCount -= removed;
    Destroy(std::move(owned));
}

void TCatalogue::Clear()
{
    std::vector<std::unique_ptr<TTreeNode>> top = std::move(FRoot->FChildren);
    FRoot->FChildren.clear();
    FCount = 0;
    for (auto& node : top)
        Destroy(std::move(node));
}

int TCatalogue::ChildCount(const TTreeNode* parent) const
{
    return parent ? parent->ChildCount() : FRoot->ChildCount();
}

TTreeNode* TCatalogue::Child(const TTreeNode* parent, int index) const
{
    return parent ? parent->Child(index) : FRoot->Child(index);
}

std::vector<TTreeNode*> TCatalogue::Nodes() const
{
    std::vector<TTreeNode*> result;
    result.reserve(static_cast<size_t>(FCount));
    for (int i = 0; i < FRoot->ChildCount(); ++i) {
        std::vector<TTreeNode*> subtree = SubtreeNodes(FRoot->Child(i));
        result.insert(result.end(), subtree.begin(), subtree.end());
    }
    return result;
}

namespace {

template <typename Node>
std::vector<Node*> SubtreeOf(Node* node)
{
    std::vector<Node*> result;
    if (!node)
        return result;
    std::vector<Node*> stack {node};
    while (!stack.empty()) {
        Node* current = stack.back();
        stack.pop_back();
        result.push_back(current);
        for (int i = current->ChildCount() - 1; i >= 0; --i)
            stack.push_back(current->Child(i));
    }
    return result;
}

}  // namespace

std::vector<TTreeNode*> SubtreeNodes(TTreeNode* node)
{
    return SubtreeOf(node);
}

std::vector<const TTreeNode*> SubtreeNodes(const TTreeNode* node)
{
    return SubtreeOf(node);
}

int SubtreeCount(const TTreeNode* node)
{
    int count = 0;
    std::vector<const TTreeNode*> stack {node};
    while (!stack.empty()) {
        const TTreeNode* current = stack.back();
        stack.pop_back();
        ++count;
        for (int i = 0; i < current->ChildCount(); ++i)
            stack.push_back(current->Child(i));
    }
    return count;
}

std::string ItemPath(const TTreeNode* stop, const TTreeNode* node, bool excludeStop, char separator)
{
    std::string path;
    for (const TTreeNode* current = node; current; current = current->Parent()) {
        if (excludeStop && current == stop)
            break;
        path = current->IsFolder() ? current->Text() + separator + path : current->Text() + path;
        if (current == stop)
            break;
    }
    return path;
}

}  // namespace pyxa
