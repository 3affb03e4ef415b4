#include "CliHost.h"

namespace pyxa::cli {

CliHost::CliHost(std::ostream& out, std::ostream& err) : FOut(out), FErr(err) {}

void CliHost::Display(const std::string& text, const std::string& fileName, int icon, bool, bool)
{
    const std::string subject = fileName.empty() ? std::string() : ": " + fileName;
    switch (icon) {
    case liError:
    case liPassword:
        ++FErrors;
        FErr << "error: " << text << subject << '\n';
        break;
    case liWarning:
        FErr << "warning: " << text << subject << '\n';
        break;
    default:
        if (Verbose)
            FOut << text << subject << '\n';
        break;
    }
}

void CliHost::SetStatusText(const std::string& text)
{
    if (Verbose && !text.empty())
        FOut << text << '\n';
}

int CliHost::TaskMessageBox(const std::string& instruction, const std::string& content, int, int buttons)
{
    FErr << instruction;
    if (!content.empty())
        FErr << ' ' << content;
    FErr << '\n';
    // Nobody can answer: take the safe answer of the button set.
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    return mrOK;
}

TPasswordAnswer CliHost::AskPassword(const TPasswordRequest& request)
{
    TPasswordAnswer answer;
    if (PasswordSource) {
        if (auto password = PasswordSource(request)) {
            answer.Accepted = true;
            answer.Password = *password;
            // One password serves the whole run.
            answer.Automatic = request.ShowAutomatic;
            return answer;
        }
    }
    RequestCancel();
    return answer;
}

void CliHost::SetBusy(bool, bool)
{
    FCancel = false;
}

}  // namespace pyxa::cli
