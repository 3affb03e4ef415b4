// The main window's state: title, status bar, busy state, enabling, the tree view's bond with the
// engine's nodes, start-up and closing.
#include "MainForm.h"

#include "CatalogueModel.h"
#include "LogForm.h"
#include "PrivateMessages.h"
#include "StatusPanels.h"
#include "container/Iso8601.h"
#include "container/OpenContainer.h"
#include "protection/FolderRestriction.h"
#include "support/FileUtil.h"
#include "support/ProductTexts.h"
#include "support/SizeText.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

namespace pyxa {

namespace fs = std::filesystem;

void TMainForm::SetStatusText(const QString& text)
{
    StatusPanel3->setText(text);
    StatusPanel3->setToolTip(text);
}

void TMainForm::SetBusy(bool busy, bool cancellable)
{
    FBusy = busy;
    if (busy != FBusyCursor) {
        FBusyCursor = busy;
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    WaitPanel->WaitLabel->setVisible(busy && cancellable);
    CenterWaitPanel();
    WaitPanel->setVisible(busy);
    UpdateCommandState(false);
    QCoreApplication::processEvents();
}

void TMainForm::WaitPanelMouseDown()
{
    if (WaitPanel->WaitLabel->isHidden())
        return;
    WaitPanel->hide();
    Host.RequestCancel();
    FBusy = false;
    QCoreApplication::processEvents();
}

void TMainForm::UpdateCommandState(bool showSelectionText)
{
    if (FBusy) {
        for (QToolButton* button : {GetBt, AddFilesBt, AddFoldersBt})
            button->setEnabled(false);
        return;
    }
    const bool locked = Container.Locked();
    GetBt->setEnabled(!Container.Tree.Empty());
    bool mayAdd = !locked;
    if (const TTreeNode* node = Container.SelectedItem()) {
        const TItemInfo& item = node->Item();
        mayAdd = item.IsFolder && !locked;
        if (showSelectionText && item.IsFolder)
            SetStatusText(QString::fromStdString("Date: " + DateTimeZToText(item.Added)));
        else if (showSelectionText)
            SetStatusText(QString::fromStdString("Size: " + SizeText(item.Size, false) +
                                                 " | Date: " + DateTimeZToText(item.Original)));
    } else if (showSelectionText) {
        SetStatusText({});
    }
    AddFilesBt->setEnabled(mayAdd);
    AddFoldersBt->setEnabled(mayAdd);
}

void TMainForm::UpdateTitle()
{
    QString title = kProductTitle;
    if (!Container.FileName.empty())
        title = QString(kProductName) + " - \"" + QString::fromStdString(Container.FileName.stem().string()) + "\"";
    if (Container.Locked())
        title += " [Read-only]";
    setWindowTitle(title);
}

int TMainForm::StatusImageIndex1() const
{
    if (Container.ModifiedDat)
        return 2;
    if (Container.ModifiedInd)
        return 1;
    return Container.Locked() ? 4 : 0;
}

int TMainForm::StatusImageIndex2() const
{
    return Container.GlobalPassword.empty() ? 6 : 5;
}

void TMainForm::UpdateStatusImages()
{
    StatusPanel1->SetImage(StatusImageIndex1());
    StatusPanel2->SetImage(StatusImageIndex2());
    StatusPanel2->setToolTip(Container.GlobalPassword.empty() ? QString() : "Automatic password is set");
}

void TMainForm::ModifiedChanged()
{
    SaveBt->setEnabled(Container.Modified());
    UpdateStatusImages();
}

void TMainForm::SelectedItemChanged()
{
    if (FEngineDepth > 0)
        return;
    const QModelIndex wanted = Model->IndexOf(Container.SelectedItem());
    if (TreeView->currentIndex() != wanted)
        TreeView->setCurrentIndex(wanted);
}

void TMainForm::LockChanged()
{
    LockPyxaBt->setChecked(Container.Locked());
    UpdateCommandState(false);
    UpdateTitle();
    UpdateStatusImages();
}

void TMainForm::RunEngine(const std::function<void()>& work)
{
    if (FEngineDepth++ == 0)
        Model->BeginEngineChange();
    work();
    if (--FEngineDepth == 0) {
        Model->EndEngineChange();
        RestoreView();
    }
    UpdateCommandState(false);
}

void TMainForm::RestoreView()
{
    ++FEngineDepth;
    for (TTreeNode* node : Container.Tree.Nodes()) {
        if (node->IsFolder() && node->Expanded)
            TreeView->expand(Model->IndexOf(node));
    }
    const QModelIndex selected = Model->IndexOf(Container.SelectedItem());
    TreeView->setCurrentIndex(selected);
    if (selected.isValid())
        TreeView->scrollTo(selected);
    --FEngineDepth;
}

void TMainForm::TreeViewChange()
{
    if (FEngineDepth > 0)
        return;
    if (Container.CanSelect)
        Container.SetSelectedItem(Model->NodeOf(TreeView->currentIndex()));
    UpdateCommandState(true);
}

void TMainForm::TreeViewExpanded(const QModelIndex& index)
{
    TTreeNode* node = Model->NodeOf(index);
    if (!node || FEngineDepth > 0)
        return;
    // A closed restricted folder opens only with its password.
    if (IsRestrictedFolder(*node) && !node->Expanded && !OpenRestrictedFolder(Container, *node)) {
        TreeView->collapse(index);
        return;
    }
    node->Expanded = true;
}

void TMainForm::TreeViewCollapsed(const QModelIndex& index)
{
    if (TTreeNode* node = Model->NodeOf(index); node && FEngineDepth == 0)
        node->Expanded = false;
}

void TMainForm::ReadSettings()
{
    const fs::path dataFolder = ApplicationDataFolder(kProductFolderName);
    FConfigurationFile = dataFolder.empty() ? fs::path() : dataFolder / kConfigurationFileName;
    FConfiguration = ReadConfiguration(FConfigurationFile);
    Container.RestoreOriginalDate = FConfiguration.RestoreOriginalDate;
}

void TMainForm::SaveSettings()
{
    FConfiguration.RestoreOriginalDate = Container.RestoreOriginalDate;
    WriteConfiguration(FConfigurationFile, FConfiguration);
}

void TMainForm::Startup()
{
    ReadSettings();
    const fs::path base = WorkingFolderBase(FConfiguration, FConfigurationFile.parent_path());
    try {
        Container.WorkingFolder.Create(base);
    } catch (const fs::filesystem_error& error) {
        Host.Display(error.what(), "", liError, false, true);
    }
    // A file written by another build is replaced by one of this build's with the same settings.
    if (FConfiguration.Version != kConfigurationVersion && !FConfigurationFile.empty()) {
        ClearReadOnly(FConfigurationFile);
        DeleteFileIfExists(FConfigurationFile);
        SaveSettings();
    }
    if (FArguments.size() != 1) {
        SetStatusText("New file with no name");
        return;
    }
    const fs::path file(FArguments.front().toStdString());
    std::error_code error;
    if (fs::is_regular_file(file, error) && QString::fromStdString(file.extension().string()).toLower() == ".pyxa") {
        Container.FileNameTmp = file;
        PostPrivateMessage(this, WM_OPENFILE);
    }
}

void TMainForm::LoadContainerMessage()
{
    OpenBt->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunEngine([this] { LoadContainer(Container); });
    QApplication::restoreOverrideCursor();
    OpenBt->setEnabled(true);
}

void TMainForm::CloseMainWindow()
{
    hide();
    RunEngine([this] { Container.CloseCatalogue(false); });
    SaveSettings();
    LogForm->hide();
}

}  // namespace pyxa
