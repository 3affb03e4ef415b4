#pragma once
// The state of the open container: its file, the catalogue, the modified flags, the selected
// node, the automatic password, the read-only lock and the working folder.

#include "container/Catalogue.h"
#include "support/Host.h"
#include "support/WorkingFolder.h"

#include <filesystem>
#include <string>

namespace pyxa {

class TContainer {
public:
    explicit TContainer(THost& host);
    TContainer(const TContainer&) = delete;
    TContainer& operator=(const TContainer&) = delete;

    THost& Host;
    TCatalogue Tree;
    TWorkingFolder WorkingFolder;

    std::filesystem::path FileName;     // empty for a container never saved
    std::filesystem::path FileNameTmp;  // hand-over for a deferred open or save
    bool CanSelect = true;
    bool ModifiedInd = false;           // the index differs from the file's
    bool ModifiedDat = false;           // stored data must be rewritten
    std::string GlobalPassword;         // the automatic password
    bool RestoreOriginalDate = true;
    bool Extracting = false;            // preselects the password dialog's automatic box
    TDateTimeZ LastSaved;               // the index's own date, as read when the file was opened

    // Records a change; (false, false) clears both flags. A set flag is never cleared alone.
    void SetModified(bool statusInd, bool statusDat);
    bool Modified() const { return ModifiedInd || ModifiedDat; }

    TTreeNode* SelectedItem() const { return FSelectedItem; }
    void SetSelectedItem(TTreeNode* node);

    bool Locked() const { return FLocked; }
    void SetLocked(bool locked);

    // Empties the catalogue with its temporary files; with full reset also returns to the state
    // of a new, unnamed container.
    void CloseCatalogue(bool fullReset);

    // A scratch file name in the working folder (not created).
    std::filesystem::path NewTempFileName() const;

private:
    TTreeNode* FSelectedItem = nullptr;
    bool FLocked = false;
};

}  // namespace pyxa
