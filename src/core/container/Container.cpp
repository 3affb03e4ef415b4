#include "container/Container.h"

namespace pyxa {

TContainer::TContainer(THost& host) : Host(host) {}

void TContainer::SetModified(bool statusInd, bool statusDat)
{
    if (!statusInd && !statusDat) {
        ModifiedInd = false;
        ModifiedDat = false;
    } else {
        ModifiedInd = ModifiedInd || statusInd;
        ModifiedDat = ModifiedDat || statusDat;
    }
    Host.ModifiedChanged();
}

void TContainer::SetSelectedItem(TTreeNode* node)
{
    if (node == FSelectedItem)
        return;
    FSelectedItem = node;
    Host.SelectedItemChanged();
}

void TContainer::SetLocked(bool locked)
{
    if (locked == FLocked)
        return;
    FLocked = locked;
    Host.LockChanged();
}

void TContainer::CloseCatalogue(bool fullReset)
{
    FSelectedItem = nullptr;
    Tree.Clear();
    if (!WorkingFolder.Path().empty()) {
        RemoveFolderContents(WorkingFolder.ShellFolder(), true);
        RemoveFolderContents(WorkingFolder.DragFolder(), true);
    }
    if (fullReset) {
        SetLocked(false);
        SetModified(false, false);
    }
    FileName.clear();
    Host.FileNameChanged();
    Host.SelectedItemChanged();
    CanSelect = true;
    if (!GlobalPassword.empty()) {
        GlobalPassword.clear();
        Host.GlobalPasswordChanged();
    }
    Host.CatalogueClosed(fullReset);
}

std::filesystem::path TContainer::NewTempFileName() const
{
    return pyxa::NewTempFileName(WorkingFolder.Path());
}

}  // namespace pyxa
