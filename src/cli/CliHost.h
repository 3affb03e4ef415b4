#pragma once
// The terminal front end of the engine: log entries and status texts go to the terminal,
// questions get their default answer, passwords come from the run's password source.

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
    void RequestCancel() override { FCancel = true; }

    // Where passwords come from; unset: every password request is refused.
    std::function<std::optional<std::string>(const TPasswordRequest&)> PasswordSource;
    std::string SaveTarget;
    // Shows information entries too, not only warnings and errors.
    bool Verbose = false;
    int ErrorCount() const { return FErrors; }

private:
    std::ostream& FOut;
    std::ostream& FErr;
    bool FCancel = false;
    int FErrors = 0;
};

}  // namespace pyxa::cli
