#pragma once
// The rules every catalogue name passes: cleaning, and two ways of making a name unique among
// its siblings. Sibling names compare without regard to case by folding only A-Z and a-z.

#include "container/Catalogue.h"

#include <string>

namespace pyxa {

// Trims blanks and control characters, replaces "\", ":", "/" and NUL by "_" and removes line
// breaks; an empty result, or one made only of dots, gives "No Name".
std::string CleanItemName(const std::string& name);
// wanted, or wanted + " (n)" with the first n that no sibling (other than ignored) carries.
std::string UniqueSiblingName(const TCatalogue& tree, const TTreeNode* parent, const std::string& wanted,
                              const TTreeNode* ignored);
// The cleaned name, or "Copy (n) of " + it with the first n that no sibling carries.
std::string UniqueCopyName(const TCatalogue& tree, const std::string& wanted, const TTreeNode* parent);
bool NameExistsAmongSiblings(const TCatalogue& tree, const TTreeNode* parent, const std::string& name,
                             bool ignoreCase, bool isFolder);
// Whether node is root or lies below it (anywhere in the tree when root is null).
bool NodeExists(const TCatalogue& tree, const TTreeNode* node, const TTreeNode* root);
// ASCII-only case-insensitive equality.
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

// A new folder record: now as both dates, nothing else set.
std::unique_ptr<TItemInfo> NewFolderItem(const std::string& name);
// Appends a folder node with a new folder record under parent (the top level when null).
TTreeNode* AddFolderNode(TCatalogue& tree, TTreeNode* parent, const std::string& name);

}  // namespace pyxa
