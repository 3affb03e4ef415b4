// The main window's state: title, status bar, busy state, enabling, the tree view's bond with the
// engine's nodes, start-up and closing.
#include "MainForm.h"

#include "CatalogueModel.h"
#include "FileIcons.h"
#include "LogForm.h"
#include "PrivateMessages.h"
#include "ScrollLock.h"
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
#include <QTimer>
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
        for (QToolButton* button : {GetBt, DeleteBt, CommentsBt, ColorBt, AddFilesBt, AddFoldersBt, CreateFolderBt})
            button->setEnabled(false);
        return;
    }
    const bool locked = Container.Locked();
    const bool hasNodes = !Container.Tree.Empty();
    GetBt->setEnabled(hasNodes);
    DeleteBt->setEnabled(hasNodes && !locked);
    bool mayAdd = !locked;
    if (const TTreeNode* node = Container.SelectedItem()) {
        const TItemInfo& item = node->Item();
        mayAdd = item.IsFolder && !locked;
        if (showSelectionText && item.IsFolder)
            SetStatusText(QString::fromStdString("Date: " + DateTimeZToText(item.Added)));
        else if (showSelectionText)
            SetStatusText(QString::fromStdString("Size: " + SizeText(item.Size, false) +
                                                 " | Date: " + DateTimeZToText(item.Original)));
        // Comments stay readable under the lock.
        CommentsBt->setEnabled(!locked || !item.Comments.empty());
        ColorBt->setEnabled(!locked);
    } else {
        CommentsBt->setEnabled(false);
        ColorBt->setEnabled(false);
        if (showSelectionText)
            SetStatusText({});
    }
    for (QToolButton* button : {AddFilesBt, AddFoldersBt, CreateFolderBt})
        button->setEnabled(mayAdd);
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

void TMainForm::CatalogueClosed(bool fullReset)
{
    if (!fullReset)
        return;
    AllowRearrangBt->setChecked(false);
    LogForm->hide();
    UpdateCommandState(false);
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
    UpdateChildIcons(nullptr);
    for (TTreeNode* node : Container.Tree.Nodes()) {
        if (node->IsFolder() && node->Expanded) {
            TreeView->expand(Model->IndexOf(node));
            node->ImageIndex = FileIcons->GetFolderImg(&node->Item()) + 1;
            UpdateChildIcons(node);
        }
    }
    const QModelIndex selected = Model->IndexOf(Container.SelectedItem());
    TreeView->setCurrentIndex(selected);
    if (selected.isValid())
        TreeView->scrollTo(selected);
    --FEngineDepth;
}

void TMainForm::UpdateChildIcons(TTreeNode* node)
{
    if (Container.Tree.Empty())
        return;
    const int count = Container.Tree.ChildCount(node);
    for (int row = 0; row < count; ++row) {
        TTreeNode* child = Container.Tree.Child(node, row);
        if (child->ImageIndex != 0 && child->ImageIndex != -1)
            continue;
        const TItemInfo* item = &child->Item();
        child->ImageIndex = child->IsFolder() ? FileIcons->GetFolderImg(item) : FileIcons->GetFileImg(item);
    }
    FileIcons->TransferChache();
    Model->ChildrenChanged(node);
}

void TMainForm::TreeViewChange()
{
    LogoPanel->hide();
    if (FEngineDepth > 0)
        return;
    if (Container.CanSelect)
        Container.SetSelectedItem(Model->NodeOf(TreeView->currentIndex()));
    UpdateCommandState(true);
}

void TMainForm::TreeViewExpanded(const QModelIndex& index)
{
    TTreeNode* node = Model->NodeOf(index);
    // Expanding every node also reports the files.
    if (!node || !node->IsFolder() || FEngineDepth > 0)
        return;
    // A closed restricted folder opens only with its password.
    if (IsRestrictedFolder(*node) && !node->Expanded && !OpenRestrictedFolder(Container, *node)) {
        TreeView->collapse(index);
        return;
    }
    node->Expanded = true;
    node->ImageIndex = FileIcons->GetFolderImg(&node->Item()) + 1;
    Model->NodeChanged(node);
    UpdateChildIcons(node);
}

void TMainForm::TreeViewCollapsed(const QModelIndex& index)
{
    TTreeNode* node = Model->NodeOf(index);
    if (!node || !node->IsFolder() || FEngineDepth > 0)
        return;
    node->Expanded = false;
    node->ImageIndex = FileIcons->GetFolderImg(&node->Item());
    Model->NodeChanged(node);
}

void TMainForm::LogoImageMouseDown()
{
    LogoPanel->hide();
}

void TMainForm::KeyTimerTimer()
{
    // The light shows the automatic password; a press by the user is undone at the next tick.
    ScrollLock->Set(!Container.GlobalPassword.empty());
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
    KeyTimer->start();
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
    KeyTimer->stop();
    if (ScrollLock->State())
        ScrollLock->Set(false);
}

}  // namespace pyxa
