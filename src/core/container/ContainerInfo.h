#pragma once
// The information texts about a file, a folder with its subtree, or the container as a whole.

#include "container/Container.h"

#include <string>

namespace pyxa {

struct TInfoText {
    std::string Instruction;
    std::string Content;  // lines joined by CR LF, none after the last
};

TInfoText FileInfoText(const TItemInfo& item);
TInfoText FolderInfoText(const TTreeNode& folder);
TInfoText ContainerInfoText(const TContainer& container);
// The text for the selected node, or for the container when none is selected.
TInfoText SelectedInfoText(const TContainer& container);

}  // namespace pyxa
