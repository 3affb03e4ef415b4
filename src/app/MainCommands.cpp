// The commands of the main window that the engine carries out.
#include "MainForm.h"

#include "CatalogueModel.h"
#include "Dialogs.h"
#include "LogForm.h"
#include "PrivateMessages.h"
#include "codecs/WipeCommands.h"
#include "container/ContainerInfo.h"
#include "container/IntegrityTest.h"
#include "container/RenameContainerFile.h"
#include "container/SaveContainer.h"
#include "protection/AutomaticPassword.h"
#include "protection/ReadOnlyLock.h"
#include "support/FileUtil.h"
#include "support/ProductTexts.h"
#include "transfer/AddItems.h"
#include "transfer/Extraction.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>
#include <vector>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPyxaFilter = "Pyxa files (*.pyxa)";
constexpr const char* kAllFilesFilter = "All files (*)";

std::vector<fs::path> Paths(const QStringList& files)
{
    std::vector<fs::path> paths;
    for (const QString& file : files)
        paths.emplace_back(file.toStdString());
    return paths;
}

QString ExtractionCaption(const TTreeNode* node)
{
    if (!node)
        return "Select the destination folder where you want to extract all files and folders...";
    const QString name = QString::fromStdString(node->Text());
    if (node->IsFolder())
        return "Select the destination folder where you want to extract the folder \"" + name +
               "\" and all its contents...";
    return "Select the destination folder where you want to extract the file \"" + name + "\"...";
}

}  // namespace

int TMainForm::AskToSaveChanges()
{
    return Dialogs.TaskMessageBox(this, kProductTitle, "File was not saved.",
                                  "Would you like to save your changes? Click <No> only if you wish to abandon any "
                                  "changes to your file.",
                                  miQuestion, mbYes | mbNo | mbCancel);
}

void TMainForm::OpenBtClick()
{
    if (FBusy)
        return;
    if (Container.Modified() && !Container.Tree.Empty()) {
        const int answer = AskToSaveChanges();
        if (answer == mrCancel)
            return;
        if (answer == mrYes) {
            PostPrivateMessage(this, WM_SAVEFILE, 2, 0);
            return;
        }
    }
    OpenBt->setEnabled(false);
    const QStringList files = Dialogs.OpenFiles(this, {"Open Pyxa file...", kPyxaFilter, {}}, false);
    if (!files.isEmpty()) {
        Container.FileNameTmp = fs::path(files.front().toStdString());
        PostPrivateMessage(this, WM_OPENFILE);
    }
    OpenBt->setEnabled(true);
}

void TMainForm::SaveBtClick()
{
    PostPrivateMessage(this, WM_SAVEFILE, 0, 0);
}

void TMainForm::SaveAsBtClick()
{
    PostPrivateMessage(this, WM_SAVEFILE, 0, 1);
}

void TMainForm::SaveFileMessage(qintptr wParam, qintptr lParam)
{
    if (FBusy)
        return;
    SaveBt->setEnabled(false);
    SaveContainer(Container, lParam == 1);
    SaveBt->setEnabled(Container.Modified());
    if (SaveBt->isEnabled())
        return;
    if (wParam == 1) {
        FCloseConfirmed = true;
        close();
    } else if (wParam == 2) {
        OpenBtClick();
    }
}

QString TMainForm::AskSaveTarget(const QString& proposedName)
{
    QString start = proposedName;
    if (!FLastSaveName.isEmpty()) {
        const QFileInfo last(FLastSaveName);
        start = last.dir().filePath(proposedName.isEmpty() ? last.fileName() : proposedName);
    }
    const QString chosen = Dialogs.SaveFile(this, {"Save Pyxa file...", kPyxaFilter, start});
    if (!chosen.isEmpty())
        FLastSaveName = chosen;
    return chosen;
}

void TMainForm::AddFilesBtClick()
{
    TTreeNode* target = Container.SelectedItem();
    if (FBusy || Container.Locked() || (target && !target->IsFolder()))
        return;
    const QStringList files = Dialogs.OpenFiles(this, {"Add file/s...", kAllFilesFilter, {}}, true);
    if (files.isEmpty())
        return;
    TAddCounters counters;
    RunEngine([&] { AddFiles(Container, target, Paths(files), counters); });
}

void TMainForm::AddFoldersBtClick()
{
    TTreeNode* target = Container.SelectedItem();
    if (FBusy || Container.Locked() || (target && !target->IsFolder()))
        return;
    const QString folder =
        Dialogs.Folder(this, "Select the folder you want to add (subfolders will be automatically added)...");
    if (folder.isEmpty())
        return;
    TAddCounters counters;
    RunEngine([&] { AddFolder(Container, target, fs::path(folder.toStdString()), counters); });
}

void TMainForm::GetBtClick()
{
    if (FBusy || Container.Tree.Empty())
        return;
    QCoreApplication::processEvents();
    const QString folder = Dialogs.Folder(this, ExtractionCaption(Container.SelectedItem()));
    if (folder.isEmpty())
        return;
    RunEngine([&] { ExtractItems(Container, Container.SelectedItem(), fs::path(folder.toStdString())); });
}

void TMainForm::TestPyxaBtClick()
{
    if (!FBusy)
        TestPyxaFile(Container);
}

void TMainForm::ShowInfoBtClick()
{
    const TInfoText info = SelectedInfoText(Container);
    Dialogs.TaskMessageBox(this, kProductTitle, QString::fromStdString(info.Instruction),
                           QString::fromStdString(info.Content), miInformation, mbOK);
}

void TMainForm::SetglobalpassBtClick()
{
    TPasswordRequest request;
    request.Mode = 1;
    request.ShowAutomatic = false;
    request.Label = "This password will be automatically used to encrypt new files or decrypt existing files using "
                    "AES (Advanced Encryption Standard)...";
    const TPasswordAnswer answer = Dialogs.Password(this, request, false, [this] { Host.RequestCancel(); });
    if (answer.Accepted)
        ApplyGlobalPassword(Container, answer.Password);
}

void TMainForm::ClearglobalpassBtClick()
{
    ApplyGlobalPassword(Container, {});
}

void TMainForm::LockPyxaBtClick(bool checked)
{
    QCoreApplication::processEvents();
    ApplyReadOnlyLock(Container, checked);
}

void TMainForm::DeletePyxaBtClick()
{
    if (FBusy || Container.FileName.empty())
        return;
    if (DeleteCurrentPyxaFile(Container)) {
        FCloseConfirmed = true;
        close();
    }
}

void TMainForm::WipePyxaBtClick()
{
    if (FBusy || Container.FileName.empty())
        return;
    if (WipeCurrentPyxaFile(Container)) {
        FCloseConfirmed = true;
        close();
    }
}

void TMainForm::WipeFileBtClick()
{
    if (FBusy)
        return;
    const QStringList files = Dialogs.OpenFiles(this, {"Wipe securely another file...", kAllFilesFilter, {}}, true);
    WipeChosenFiles(Host, Paths(files), Container.FileName);
}

void TMainForm::RenamePyxaBtClick()
{
    if (FBusy || Container.FileName.empty())
        return;
    const std::optional<QString> typed =
        Dialogs.InputText(this, "Rename file", "Please enter new filename:",
                          QString::fromStdString(Container.FileName.filename().string()));
    if (!typed)
        return;
    if (RenameContainerFile(Container, typed->toStdString()) == TRenameFileResult::Failed)
        Dialogs.TaskMessageBox(this, "Rename file", "File cannot be renamed.", {}, miError, mbOK);
}

void TMainForm::CollapseFoldBtClick()
{
    std::vector<TTreeNode*> starts;
    if (TTreeNode* node = Container.SelectedItem())
        starts.push_back(node->IsFolder() ? node : node->Parent());
    else
        for (int index = 0; index < Container.Tree.TopLevelCount(); ++index)
            starts.push_back(Container.Tree.TopLevel(index));
    for (TTreeNode* start : starts) {
        if (!start)
            continue;
        for (TTreeNode* node : SubtreeNodes(start)) {
            if (node->IsFolder())
                TreeView->collapse(Model->IndexOf(node));
        }
    }
}

void TMainForm::OpenNewPyxaBt1Click()
{
    QCoreApplication::processEvents();
    const QString program = QCoreApplication::applicationFilePath();
    QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}

void TMainForm::OpenLogBtClick()
{
    LogForm->ShowOrRaise();
}

void TMainForm::AboutBtClick()
{
    QCoreApplication::processEvents();
    Dialogs.About(this);
}

}  // namespace pyxa
