#pragma once
// Folder access restriction: a folder whose Encrypted flag is set opens (expands) only with its
// password, kept in TmpPass. Walks through the tree open a closed restricted folder the same way
// and leave it out, with everything below it, when it stays closed.

#include "container/Container.h"

namespace pyxa {

bool IsRestrictedFolder(const TTreeNode& node);

// Expands the folder unless it is a closed restricted folder whose password is not given. The
// automatic password opens it silently when it equals the folder's password; otherwise the user
// is asked. A wrong password is logged and shown; a cancelled prompt requests cancel, so that a
// running walk stops. A restricted folder with an empty password opens freely. Returns whether
// the node may now be walked into.
bool OpenRestrictedFolder(TContainer& container, TTreeNode& folder);

}  // namespace pyxa
