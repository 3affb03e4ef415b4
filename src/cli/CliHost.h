#pragma once
// The terminal front end of the engine: warnings and errors go to standard error as they happen,
// status texts make a progress line on a terminal, questions get their safe answer, and passwords
// come from the run's password source.

#include "support/Host.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace pyxa::cli {

class CliHost : public THost {
public:
    CliHost(std::ostream& out, std::ostream& err);

    void Display(const std::string& text, const std::string& fileName, int icon, bool popupMsg,
                 bool showLog) override;
    void SetStatusText(const std::string& text) override;
    int TaskMessageBox(const std::string& instruction, const std::string& content, int icon,
                       int buttons) override;
    TPasswordAnswer AskPassword(const TPasswordRequest& request) override;
    // The CLI names its target before saving; a container without a name cannot be saved.
    std::string AskSaveTarget(const TSaveTargetRequest&) override { return SaveTarget; }
    void ProcessMessages() override {}
    void SetBusy(bool busy, bool cancellable) override;
    bool CancelRequested() override { return FCancel; }
    void RequestCancel() override;

    // Ends the progress line, if one is shown.
    void EndProgress();
    const std::string& LastStatus() const { return FLastStatus; }
    int ErrorCount() const { return FErrors; }
    int WarningCount() const { return FWarnings; }

    // Where passwords come from; unset: every password request is refused.
    std::function<std::optional<std::string>(const TPasswordRequest&)> PasswordSource;
    std::string SaveTarget;
    // False when passwords can come from nowhere: a refused request then fails only its item.
    bool CanAskUser = false;
    bool ConfirmQuestions = false;  // the command itself was the user's "yes"
    bool Verbose = false;   // shows information entries too
    bool Progress = false;  // status texts overwrite one line on standard error

private:
    std::ostream& FOut;
    std::ostream& FErr;
    std::string FLastStatus;
    bool FProgressShown = false;
    bool FCancel = false;
    bool FIgnoreNextCancel = false;
    int FErrors = 0;
    int FWarnings = 0;
};

}  // namespace pyxa::cli
