#pragma once
// Catalogue paths on the command line: names joined by "/", a folder's path may end with "/".

#include "container/Catalogue.h"

#include <string>

namespace pyxa::cli {

// The path pyxa-cli shows for a node: folders end with "/".
std::string CataloguePath(const TTreeNode& node);
// The node a path names, or nullptr.
TTreeNode* FindByPath(const TCatalogue& tree, const std::string& path);

}  // namespace pyxa::cli
