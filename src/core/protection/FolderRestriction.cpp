#include "protection/FolderRestriction.h"

namespace pyxa {

namespace {

constexpr int kInvalidPasswordBoxIcon = 105;

bool AsksPassword(const TTreeNode& folder)
{
    return IsRestrictedFolder(folder) && !folder.Expanded && !folder.Item().TmpPass.empty();
}

TPasswordRequest OpeningRequest(const TTreeNode& folder)
{
    TPasswordRequest request;
    request.Mode = 2;
    request.Label = "The folder \"" + folder.Text() + "\" is open protected...";
    request.ShowAutomatic = false;
    return request;
}

void ReportWrongPassword(THost& host, const TTreeNode& folder)
{
    host.Display("Invalid password opening folder", folder.Text(), liPassword, false, false);
    host.TaskMessageBox("Invalid password", "", kInvalidPasswordBoxIcon, mbOK);
}

// Passwords compare exactly: a difference in letter case is a wrong password.
bool PasswordGiven(TContainer& container, const TTreeNode& folder)
{
    const std::string& password = folder.Item().TmpPass;
    if (container.GlobalPassword == password)
        return true;
    const TPasswordAnswer answer = container.Host.AskPassword(OpeningRequest(folder));
    if (!answer.Accepted) {
        // A cancelled prompt stops a running walk, whatever the front end did itself.
        container.Host.RequestCancel();
        return false;
    }
    if (answer.Password == password)
        return true;
    ReportWrongPassword(container.Host, folder);
    return false;
}

}  // namespace

bool IsRestrictedFolder(const TTreeNode& node)
{
    return node.IsFolder() && node.Item().Encrypted;
}

bool OpenRestrictedFolder(TContainer& container, TTreeNode& folder)
{
    if (AsksPassword(folder) && !PasswordGiven(container, folder))
        return false;
    if (folder.IsFolder())
        folder.Expanded = true;
    return true;
}

}  // namespace pyxa
