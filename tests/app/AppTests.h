#pragma once
// The window's test classes, run one after the other by the test main.

#include <QObject>

namespace pyxa::test {

class TaskMessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void IconCodes_data();
    void IconCodes();
    void ButtonBitsAndResults();
    void TextsAreCapped();
};

class CatalogueModelTest : public QObject {
    Q_OBJECT
private slots:
    void PassesTheModelTester();
    void DrawsItemsAsTheirRecordsSay();
};

class LogFormTest : public QObject {
    Q_OBJECT
private slots:
    void EntriesWaitForTheTimer();
    void OneWarningBoxPerTick();
    void ErrorsShowTheHiddenWindow();
    void ClearingKeepsQueuedEntries();
};

class PassFormTest : public QObject {
    Q_OBJECT
private slots:
    void MismatchKeepsTheDialogOpen();
    void EnterMovesTheFocusUntilBothAreFilled();
    void EscapeCancelsAndRequestsCancel();
    void ModeTwoConfirmsWithEnter();
    void AutomaticBoxFollowsTheExtractingFlag_data();
    void AutomaticBoxFollowsTheExtractingFlag();
};

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void AddedFilesSurviveSaveAndReopen();
    void CloseQuestion_data();
    void CloseQuestion();
    void OpenQuestion_data();
    void OpenQuestion();
    void LockTogglesTitleAndCommands();
    void WorkingFolderGoesAtExit();
    void CommandLineOpensOnlyPyxaFiles_data();
    void CommandLineOpensOnlyPyxaFiles();
};

class CommandSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ButtonsFollowSelectionAndLock_data();
    void ButtonsFollowSelectionAndLock();
    void SelectionTextShowsSizeOrDate();
    void ShowAllRevealsDisabledItems();
    void ContextMenuMirrorsButtonsAndEncryptMenu();
    void ContextMenuClosesWhileBusy();
    void WaitPanelCancelsOnlyWhenCancellable();
    void KeysRunTheirCommands();
    void LogoHidesAtFirstSelection();
    void ScrollLockFollowsTheAutomaticPassword();
    void RenameCurrentFile();
    void CollapseFolderAndSubfolders();
};

class FileIconsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ImagesOfItems_data();
    void ImagesOfItems();
    void OneLookupPerExtension();
    void FailedLookupIsRetried();
    void ThemeOrOwnPictureIsNeverNull();
    void ChildrenResolveWhenTheirFolderOpens();
};

class ConfigurationTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void FirstRunWritesTheDefaults();
    void TempDirModeChoosesTheWorkingFolder_data();
    void TempDirModeChoosesTheWorkingFolder();
    void RestoreOriginalDateReachesTheContainer();
    void OtherVersionIsReplacedKeepingTheSettings();
    void CloseBeforeStartupLeavesTheFileAlone();
};

}  // namespace pyxa::test
