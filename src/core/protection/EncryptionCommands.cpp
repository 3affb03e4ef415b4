// The engine halves of the encryption menu's four commands: check the command's need, find the
// password, start the run.

#include "protection/EncryptionRuns.h"

namespace pyxa {

namespace {

constexpr int kNewPassword = 1;
constexpr int kExistingPassword = 2;

// A password already known, else the automatic password, else the user's answer; empty when the
// prompt was cancelled.
std::optional<std::string> CommandPassword(TContainer& container, const std::string& known, int mode,
                                           const std::string& label)
{
    if (!known.empty())
        return known;
    if (!container.GlobalPassword.empty())
        return container.GlobalPassword;
    TPasswordRequest request;
    request.Mode = mode;
    request.Label = label;
    request.ShowAutomatic = false;
    const TPasswordAnswer answer = container.Host.AskPassword(request);
    if (!answer.Accepted || answer.Password.empty())
        return std::nullopt;
    return answer.Password;
}

std::string EncryptFolderLabel(const TTreeNode* start)
{
    if (!start)
        return "All files will be encrypted with the same password using AES (Advanced Encryption Standard)...";
    return "The files contained in the folder \"" + start->Text() +
           "\" and subfolders will be encrypted with the same password using AES (Advanced Encryption Standard)...";
}

std::string DecryptFolderLabel(const TTreeNode* start)
{
    if (!start)
        return "All encrypted files will be decrypted using the same password...";
    return "The files contained in the folder \"" + start->Text() +
           "\" and subfolders will be decrypted using the same password...";
}

// The catalogue can be changed and holds at least one node.
bool FolderCommandAllowed(const TContainer& container)
{
    return !container.Locked() && !container.Tree.Empty();
}

// The selected node when it is a file and the catalogue can be changed.
TTreeNode* SelectedFileToChange(const TContainer& container)
{
    TTreeNode* node = container.SelectedItem();
    return !container.Locked() && node && !node->IsFolder() ? node : nullptr;
}

}  // namespace

std::optional<TCryptRunTotals> EncryptFolderCommand(TContainer& container, const TFolderOpener& openFolder)
{
    if (!FolderCommandAllowed(container))
        return std::nullopt;
    TTreeNode* start = container.SelectedItem();
    const std::optional<std::string> password =
        CommandPassword(container, "", kNewPassword, EncryptFolderLabel(start));
    if (!password)
        return std::nullopt;
    return EncryptItems(container, start, *password, openFolder);
}

std::optional<TCryptRunTotals> DecryptFolderCommand(TContainer& container, const TFolderOpener& openFolder)
{
    if (!FolderCommandAllowed(container))
        return std::nullopt;
    TTreeNode* start = container.SelectedItem();
    const std::optional<std::string> password =
        CommandPassword(container, "", kExistingPassword, DecryptFolderLabel(start));
    if (!password)
        return std::nullopt;
    return DecryptItems(container, start, *password, openFolder);
}

std::optional<TCryptRunTotals> EncryptItemCommand(TContainer& container)
{
    TTreeNode* file = SelectedFileToChange(container);
    if (!file)
        return std::nullopt;
    const std::optional<std::string> password = CommandPassword(
        container, "", kNewPassword,
        "The file \"" + file->Text() + "\" will be encrypted using AES (Advanced Encryption Standard)...");
    if (!password)
        return std::nullopt;
    return EncryptItems(container, file, *password);
}

std::optional<TCryptRunTotals> DecryptItemCommand(TContainer& container)
{
    TTreeNode* file = SelectedFileToChange(container);
    if (!file)
        return std::nullopt;
    const std::optional<std::string> password = CommandPassword(
        container, file->Item().TmpPass, kExistingPassword, "The file \"" + file->Text() + "\" will be decrypted...");
    if (!password)
        return std::nullopt;
    return DecryptItems(container, file, *password);
}

}  // namespace pyxa
