#pragma once
// The main window: the catalogue tree, the right-hand command column, the popups, the status bar
// and the wait panel, over one engine container.

#include "Configuration.h"
#include "QtHost.h"
#include "container/Container.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;

namespace pyxa {

class TCatalogueModel;
class TDialogs;
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

    QToolButton* AddFilesBt = nullptr;
    QToolButton* AddFoldersBt = nullptr;
    QToolButton* GetBt = nullptr;
    QToolButton* DeleteBt = nullptr;
    QToolButton* EncryptBt = nullptr;
    QToolButton* ColorBt = nullptr;
    QToolButton* CommentsBt = nullptr;
    QToolButton* OpenBt = nullptr;
    QToolButton* SaveBt = nullptr;
    QToolButton* OptionsBt = nullptr;
    QToolButton* AboutBt = nullptr;

    QMenu* FilePopup = nullptr;
    QMenu* OptionsPopup = nullptr;
    QMenu* EncryptPopup = nullptr;
    QAction* AddFiles2Bt = nullptr;
    QAction* AddFolders2Bt = nullptr;
    QAction* Get2Bt = nullptr;
    QAction* ShowInfoBt = nullptr;
    QAction* OpenLogBt = nullptr;
    QAction* TestPyxaBt = nullptr;
    QAction* SaveAsBt = nullptr;
    QAction* DeletePyxaBt = nullptr;
    QAction* WipePyxaBt = nullptr;
    QAction* WipeFileBt = nullptr;
    QAction* SetglobalpassBt = nullptr;
    QAction* ClearglobalpassBt = nullptr;
    QAction* EncryptFolderBt = nullptr;
    QAction* DecryptFolderBt = nullptr;
    QAction* EncryptItemBt = nullptr;
    QAction* DecryptItemBt = nullptr;
    QAction* LockPyxaBt = nullptr;

    TStatusImagePanel* StatusPanel1 = nullptr;
    TStatusImagePanel* StatusPanel2 = nullptr;
    QLabel* StatusPanel3 = nullptr;
    TWaitPanel* WaitPanel = nullptr;

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
    void OpenLogBtClick();
    void AboutBtClick();
    void WaitPanelMouseDown();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

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
    void FilePopupPopup();
    void OptionsPopupPopup();
    void EncryptPopupPopup();
    void CenterWaitPanel();

    QStringList FArguments;
    // Empty until start-up found the application data folder; nothing is written then.
    std::filesystem::path FConfigurationFile;
    TConfiguration FConfiguration;
    QString FLastSaveName;
    bool FInitialized = false;
    bool FBusy = false;
    bool FBusyCursor = false;
    bool FCloseConfirmed = false;
    int FEngineDepth = 0;
};

}  // namespace pyxa
