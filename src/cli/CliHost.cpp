#include "CliHost.h"

namespace pyxa::cli {

CliHost::CliHost(std::ostream& out, std::ostream& err) : FOut(out), FErr(err) {}

void CliHost::EndProgress()
{
    if (FProgressShown) {
        FErr << "\r\033[K";
        FErr.flush();
        FProgressShown = false;
    }
}

void CliHost::Display(const std::string& text, const std::string& fileName, int icon, bool, bool)
{
    const std::string subject = fileName.empty() ? std::string() : ": " + fileName;
    switch (icon) {
    case liError:
    case liPassword:
        ++FErrors;
        EndProgress();
        FErr << "error: " << text << subject << '\n';
        break;
    case liWarning:
        ++FWarnings;
        EndProgress();
        FErr << "warning: " << text << subject << '\n';
        break;
    default:
        if (Verbose) {
            EndProgress();
            FOut << text << subject << '\n';
        }
        break;
    }
}

void CliHost::SetStatusText(const std::string& text)
{
    FLastStatus = text;
    if (Progress && !text.empty()) {
        FErr << "\r\033[K" << text.substr(0, 100);
        FErr.flush();
        FProgressShown = true;
    }
}

int CliHost::TaskMessageBox(const std::string& instruction, const std::string& content, int icon, int buttons)
{
    EndProgress();
    std::ostream& stream = icon == miInformation ? FOut : FErr;
    stream << instruction;
    if (!content.empty())
        stream << ' ' << content;
    stream << '\n';
    if (ConfirmQuestions && (buttons & mbYes))
        return mrYes;
    // Nobody is there to answer: take the safe answer of the button set.
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    return mrOK;
}

TPasswordAnswer CliHost::AskPassword(const TPasswordRequest& request)
{
    TPasswordAnswer answer;
    EndProgress();
    if (PasswordSource) {
        if (auto password = PasswordSource(request)) {
            answer.Accepted = true;
            answer.Password = *password;
            // One password serves the whole run.
            answer.Automatic = request.ShowAutomatic;
            return answer;
        }
    }
    // Nobody cancelled when nobody could be asked: the item fails, the run goes on.
    if (CanAskUser)
        FCancel = true;
    else
        FIgnoreNextCancel = true;
    return answer;
}

void CliHost::RequestCancel()
{
    if (FIgnoreNextCancel) {
        FIgnoreNextCancel = false;
        return;
    }
    FCancel = true;
}

void CliHost::SetBusy(bool busy, bool)
{
    FCancel = false;
    FIgnoreNextCancel = false;
    if (!busy)
        EndProgress();
}

}  // namespace pyxa::cli
