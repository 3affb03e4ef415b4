#pragma once
// The engine's front end in the window: log, status, questions and the busy state go to the
// main window and its dialogs.

#include "support/Host.h"

namespace pyxa {

class TMainForm;

class TQtHost : public THost {
public:
    explicit TQtHost(TMainForm& form) : FForm(form) {}

    void Display(const std::string& text, const std::string& fileName, int icon, bool popupMsg,
                 bool showLog) override;
    void SetStatusText(const std::string& text) override;
    int TaskMessageBox(const std::string& instruction, const std::string& content, int icon, int buttons) override;
    TPasswordAnswer AskPassword(const TPasswordRequest& request) override;
    std::string AskSaveTarget(const TSaveTargetRequest& request) override;
    void ProcessMessages() override;
    void SetBusy(bool busy, bool cancellable) override;
    bool CancelRequested() override { return FCancelRequested; }
    void RequestCancel() override { FCancelRequested = true; }
    int CompareNames(const std::string& a, const std::string& b) override;

    void ModifiedChanged() override;
    void SelectedItemChanged() override;
    void LockChanged() override;
    void FileNameChanged() override;
    void GlobalPasswordChanged() override;
    void CatalogueClosed(bool fullReset) override;

private:
    TMainForm& FForm;
    bool FCancelRequested = false;
};

}  // namespace pyxa
