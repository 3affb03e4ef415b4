#pragma once
// The one boundary between the engine and a front end. The engine never shows
// anything itself: it logs, sets status texts, asks questions and passwords,
// lets the front end's message queue run and polls for cancel through a THost.

#include "support/TextCompare.h"

#include <string>

namespace pyxa {

// Event-log images (Display's Icon).
enum TLogIcon : int {
    liInformation = 0,
    liSuccess = 1,
    liWarning = 2,
    liError = 3,
    liPassword = 6,
};

// TaskMessageBox icon codes and button bits; results are 1 OK, 2 Cancel, 4 Retry, 6 Yes, 7 No, 0 none.
enum TMessageIcon : int {
    miInformation = 81,
    miWarning = 84,
    miError = 98,
    miQuestion = 99,
};
enum TMessageButtons : int {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbRetry = 16,
};
enum TMessageResult : int {
    mrNone = 0,
    mrOK = 1,
    mrCancel = 2,
    mrRetry = 4,
    mrYes = 6,
    mrNo = 7,
};

// The password dialog: mode 1 asks a new password twice, mode 2 asks one password.
struct TPasswordRequest {
    int Mode = 2;
    std::string Label;
    bool ShowAutomatic = true;     // the "Use this password for all files" box is offered
    bool AutomaticChecked = false; // its initial state
};

struct TPasswordAnswer {
    bool Accepted = false;
    std::string Password;          // UTF-8
    bool Automatic = false;        // the box was checked when the user confirmed
};

// The save dialog: the name to propose, without folder (may be empty).
struct TSaveTargetRequest {
    std::string ProposedName;
};

class THost {
public:
    virtual ~THost() = default;

    // Queues one event-log entry.
    virtual void Display(const std::string& text, const std::string& fileName, int icon, bool popupMsg,
                         bool showLog) = 0;
    // The status text panel.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual int TaskMessageBox(const std::string& instruction, const std::string& content, int icon,
                               int buttons) = 0;
    virtual TPasswordAnswer AskPassword(const TPasswordRequest& request) = 0;
    // The file to save a container to; empty when the user cancelled.
    virtual std::string AskSaveTarget(const TSaveTargetRequest& request) = 0;
    // Lets the front end's event loop run once.
    virtual void ProcessMessages() = 0;
    virtual void SetBusy(bool busy, bool cancellable) = 0;
    virtual bool CancelRequested() = 0;
    virtual void RequestCancel() = 0;

    // Order of names when sorting: the window uses the user's locale.
    virtual int CompareNames(const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b); }

    // Notifications about container state that a front end mirrors.
    virtual void ModifiedChanged() {}
    virtual void SelectedItemChanged() {}
    virtual void LockChanged() {}
    virtual void FileNameChanged() {}
    virtual void GlobalPasswordChanged() {}
    // The catalogue was emptied; with fullReset the front end returns to the state of a new,
    // unnamed container.
    virtual void CatalogueClosed(bool fullReset) { (void)fullReset; }
};

}  // namespace pyxa
