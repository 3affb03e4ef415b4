#pragma once
// Where extracted items land. A name read from an index is not trusted as a path: each item
// becomes exactly one plain path component, and a folder is written into only when it lies inside
// the destination through real folders.

#include "container/Catalogue.h"

#include <filesystem>
#include <string>

namespace pyxa {

// The name as one safe path component: "/" and control characters (NUL included) become "_";
// "", "." and ".." become "No Name", the name rules' name for a name with nothing usable. Every
// other name is kept unchanged.
std::string SafeItemName(const std::string& name);

// The name with its control characters written as \xNN, for the log.
std::string VisibleName(const std::string& name);

// The path of node below destination: the safe names of the nodes from root (included) down to
// node. A null root, or one that is not an ancestor, gives the path from the top level.
std::filesystem::path ExtractionPath(const std::filesystem::path& destination, const TTreeNode* root,
                                     const TTreeNode& node);

// True when folder is destination or lies below it with no existing component below destination
// being a symbolic link, and its resolved form stays inside destination. destination is canonical.
bool StaysInside(const std::filesystem::path& destination, const std::filesystem::path& folder);

}  // namespace pyxa
