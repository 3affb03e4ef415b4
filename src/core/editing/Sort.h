#pragma once
// Sorting the catalogue: folders before files, each group by name.

#include "container/Catalogue.h"
#include "support/Host.h"

namespace pyxa {

// Sorts the children of every folder in the subtree of top (top's own children included).
void SortSubtree(TCatalogue& tree, TTreeNode* top, THost& host);

}  // namespace pyxa
