#pragma once
// The main window: the catalogue tree, the right-hand command column, the popups, the status bar
// and the wait panel, over one engine container.

#include "Configuration.h"
#include "QtHost.h"
#include "container/Container.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QTimer;
class QTreeView;

namespace pyxa {

class TCatalogueModel;
class TDialogs;
class TFileIcons;
class TScrollLock;
class TLogForm;
class TStatusImagePanel;
class TWaitPanel;
enum class TButtonPicture;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command line without the program name.
    TMainForm(TDialogs& dialogs, QStringList arguments, QWidget* parent = nullptr);
    ~TMainForm() override;

    TDialogs& Dialogs;
    TQtHost Host;
    TContainer Container;
    TLogForm* LogForm = nullptr;
    TCatalogueModel* Model = nullptr;
    QTreeView* TreeView = nullptr;

    QToolButton* CreateFolderBt = nullptr;
    QToolButton* AddFilesBt = nullptr;
    QToolButton* AddFoldersBt = nullptr;
    QToolButton* GetBt = nullptr;
    QToolButton* DeleteBt = nullptr;
    QToolButton* EncryptBt = nullptr;
    QToolButton* ColorBt = nullptr;
    QToolButton* CommentsBt = nullptr;
    QToolButton* AllowRearrangBt = nullptr;
    QToolButton* OpenBt = nullptr;
    QToolButton* SaveBt = nullptr;
    QToolButton* OptionsBt = nullptr;
    QToolButton* AboutBt = nullptr;

    QMenu* FilePopup = nullptr;
    QAction* AddFiles2Bt = nullptr;
    QAction* AddFolders2Bt = nullptr;
    QAction* Get2Bt = nullptr;
    QAction* RenameBt = nullptr;
    QAction* Color2Bt = nullptr;
    QAction* Comments2Bt = nullptr;
    QAction* Delete2Bt = nullptr;
    QAction* EncryptionProtectionBt = nullptr;
    QAction* Setglobalpass2Bt = nullptr;
    QAction* Clearglobalpass2Bt = nullptr;
    QAction* EncryptFolder2Bt = nullptr;
    QAction* DecryptFolder2Bt = nullptr;
    QAction* EncryptItem2Bt = nullptr;
    QAction* DecryptItem2Bt = nullptr;
    QAction* RestrictFolder2Bt = nullptr;
    QAction* RemoveRestriction2Bt = nullptr;
    QAction* LockPyxa2Bt = nullptr;
    QAction* OptionsMenuBt = nullptr;
    QAction* SortABt = nullptr;
    QAction* SortBBt = nullptr;
    QAction* CollapseFoldBt = nullptr;
    QAction* FindItems2Bt = nullptr;
    QAction* ShowInfoBt = nullptr;
    QAction* Showallitems2Bt = nullptr;

    QMenu* OptionsPopup = nullptr;
    QAction* FindItemsBt = nullptr;
    QAction* OpenLogBt = nullptr;
    QAction* TestPyxaBt = nullptr;
    QAction* SaveAsBt = nullptr;
    QAction* RenamePyxaBt = nullptr;
    QAction* DeletePyxaBt = nullptr;
    QAction* WipePyxaBt = nullptr;
    QAction* WipeFileBt = nullptr;
    QAction* OpenNewPyxaBt1 = nullptr;
    QAction* InstallContextMenuBt = nullptr;
    QAction* InstallDesktopBt = nullptr;
    QAction* InstallStartMenuBt = nullptr;
    QAction* InstallSendToBt = nullptr;
    QAction* Showallitems1Bt = nullptr;

    QMenu* EncryptPopup = nullptr;
    QAction* SetglobalpassBt = nullptr;
    QAction* ClearglobalpassBt = nullptr;
    QAction* EncryptFolderBt = nullptr;
    QAction* DecryptFolderBt = nullptr;
    QAction* EncryptItemBt = nullptr;
    QAction* DecryptItemBt = nullptr;
    QAction* RestrictFolderBt = nullptr;
    QAction* RemoveRestrictionBt = nullptr;
    QAction* LockPyxaBt = nullptr;
    QAction* Showallitems3Bt = nullptr;

    TStatusImagePanel* StatusPanel1 = nullptr;
    TStatusImagePanel* StatusPanel2 = nullptr;
    QLabel* StatusPanel3 = nullptr;
    TWaitPanel* WaitPanel = nullptr;
    QLabel* LogoPanel = nullptr;
    QTimer* KeyTimer = nullptr;
    std::unique_ptr<TFileIcons> FileIcons;
    std::unique_ptr<TScrollLock> ScrollLock;

    // State shown by the window.
    void SetStatusText(const QString& text);
    void SetBusy(bool busy, bool cancellable);
    bool Busy() const { return FBusy; }
    void UpdateCommandState(bool showSelectionText);
    void UpdateTitle();
    void UpdateStatusImages();
    int StatusImageIndex1() const;
    int StatusImageIndex2() const;
    void ModifiedChanged();
    void SelectedItemChanged();
    void LockChanged();
    void CatalogueClosed(bool fullReset);
    QString AskSaveTarget(const QString& proposedName);

    // Commands.
    void OpenBtClick();
    void SaveBtClick();
    void SaveAsBtClick();
    void AddFilesBtClick();
    void AddFoldersBtClick();
    void GetBtClick();
    void TestPyxaBtClick();
    void ShowInfoBtClick();
    void SetglobalpassBtClick();
    void ClearglobalpassBtClick();
    void LockPyxaBtClick(bool checked);
    void DeletePyxaBtClick();
    void WipePyxaBtClick();
    void WipeFileBtClick();
    void RenamePyxaBtClick();
    void CollapseFoldBtClick();
    void OpenNewPyxaBt1Click();
    void OpenLogBtClick();
    void AboutBtClick();
    void WaitPanelMouseDown();
    void LogoImageMouseDown();
    void Showallitems1BtClick();
    bool ShowAll() const { return FShowAll; }
    void KeyTimerTimer();
    // Gives the not yet resolved children of the node (the top level for none) their images.
    void UpdateChildIcons(TTreeNode* node);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateTree(QWidget* parent);
    QWidget* CreateRightPanel(QWidget* parent);
    QToolButton* AddSpeedButton(QWidget* panel, const char* name, const QString& hint, TButtonPicture picture);
    void CreatePopups();
    void CreateStatusBar();

    void Startup();
    void ReadSettings();
    void SaveSettings();
    void LoadContainerMessage();
    void SaveFileMessage(qintptr wParam, qintptr lParam);
    int AskToSaveChanges();
    void CloseMainWindow();

    // Runs engine work that may reshape the tree; the view is rebuilt afterwards.
    void RunEngine(const std::function<void()>& work);
    void RestoreView();
    void TreeViewChange();
    void TreeViewExpanded(const QModelIndex& index);
    void TreeViewCollapsed(const QModelIndex& index);
    bool TreeViewKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void ShowPopup(QMenu* popup, QToolButton* button);
    void CreateFilePopup();
    void CreateOptionsPopup();
    void CreateEncryptPopup();
    // at: in the tree's viewport, where the mouse or the menu key asked for the menu.
    void FilePopupPopup(const QPoint& at);
    void OptionsPopupPopup();
    void EncryptPopupPopup();
    // Each item of the encryption sub-menu with its counterpart in the encryption popup.
    std::vector<std::pair<QAction*, QAction*>> EncryptCounterparts() const;
    void MirrorEncryptPopup();
    // Shows a menu item when it is enabled, or greyed in show-all mode.
    void ShowWhenEnabled(QAction* action) const;
    void RefreshTree();
    void CenterWaitPanel();
    void PlaceLogoPanel();

    QStringList FArguments;
    // Empty until start-up found the application data folder; nothing is written then.
    std::filesystem::path FConfigurationFile;
    TConfiguration FConfiguration;
    QString FLastSaveName;
    bool FInitialized = false;
    bool FBusy = false;
    bool FBusyCursor = false;
    bool FCloseConfirmed = false;
    bool FShowAll = false;
    int FEngineDepth = 0;
};

}  // namespace pyxa
