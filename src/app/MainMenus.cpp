// The three popup menus of the main window: their items, their enabling and visibility, and
// show-all mode, in which disabled items are shown greyed instead of hidden.
#include "MainForm.h"

#include "protection/EncryptionRuns.h"
#include "protection/FolderRestriction.h"
#include "support/FileUtil.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

namespace pyxa {

namespace {

constexpr const char* kMenuStyle =
    "QMenu { background: #D6D6D6; border: 1px solid #A0A0A0; color: black; }"
    "QMenu::item { padding: 3px 18px 3px 26px; }"
    "QMenu::item:selected { background: #C8C8C8; border: 1px solid #3060C0; }"
    "QMenu::item:disabled { color: grey; }"
    "QMenu::separator { height: 1px; background: #EAEAEA; margin: 3px 4px; }";

constexpr const char* kShowAllCaption = "Show all menu items...";

QMenu* NewMenu(QWidget* owner, const char* name)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(name);
    menu->setStyleSheet(kMenuStyle);
    menu->setSeparatorsCollapsible(true);
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction* AddSubMenu(QMenu* menu, QMenu* subMenu, const char* name, const QString& caption)
{
    subMenu->setTitle(caption);
    QAction* action = menu->addMenu(subMenu);
    action->setObjectName(name);
    return action;
}

void Mirror(QAction* copy, const QAction* original)
{
    copy->setEnabled(original->isEnabled());
    copy->setVisible(original->isVisible());
}

}  // namespace

void TMainForm::CreatePopups()
{
    CreateEncryptPopup();
    CreateFilePopup();
    CreateOptionsPopup();
    for (QAction* showAll : {Showallitems1Bt, Showallitems2Bt, Showallitems3Bt})
        connect(showAll, &QAction::triggered, this, &TMainForm::Showallitems1BtClick);
}

void TMainForm::CreateFilePopup()
{
    FilePopup = NewMenu(this, "FilePopup");
    AddFiles2Bt = AddItem(FilePopup, "AddFiles2Bt", "Add file/s (key Shift+Ins)");
    AddFolders2Bt = AddItem(FilePopup, "AddFolders2Bt", "Add folders (key Ctrl+Ins)");
    Get2Bt = AddItem(FilePopup, "Get2Bt", "Extract");
    FilePopup->addSeparator();
    RenameBt = AddItem(FilePopup, "RenameBt", "Rename (key F2)");
    Color2Bt = AddItem(FilePopup, "Color2Bt", "Change color (key F6)");
    Comments2Bt = AddItem(FilePopup, "Comments2Bt", "Comments (key F7)");
    FilePopup->addSeparator();
    Delete2Bt = AddItem(FilePopup, "Delete2Bt", "Delete (key Del)");
    FilePopup->addSeparator();

    QMenu* encryption = NewMenu(FilePopup, "EncryptionProtectionMenu");
    EncryptionProtectionBt = AddSubMenu(FilePopup, encryption, "EncryptionProtectionBt", "Encryption and protection...");
    Setglobalpass2Bt = AddItem(encryption, "Setglobalpass2Bt", SetglobalpassBt->text());
    Clearglobalpass2Bt = AddItem(encryption, "Clearglobalpass2Bt", ClearglobalpassBt->text());
    EncryptFolder2Bt = AddItem(encryption, "EncryptFolder2Bt", EncryptFolderBt->text());
    DecryptFolder2Bt = AddItem(encryption, "DecryptFolder2Bt", DecryptFolderBt->text());
    EncryptItem2Bt = AddItem(encryption, "EncryptItem2Bt", EncryptItemBt->text());
    DecryptItem2Bt = AddItem(encryption, "DecryptItem2Bt", DecryptItemBt->text());
    RestrictFolder2Bt = AddItem(encryption, "RestrictFolder2Bt", RestrictFolderBt->text());
    RemoveRestriction2Bt = AddItem(encryption, "RemoveRestriction2Bt", RemoveRestrictionBt->text());
    LockPyxa2Bt = AddItem(encryption, "LockPyxa2Bt", LockPyxaBt->text());
    LockPyxa2Bt->setCheckable(true);

    QMenu* options = NewMenu(FilePopup, "OptionsMenu");
    OptionsMenuBt = AddSubMenu(FilePopup, options, "OptionsMenuBt", "Additional options...");
    SortABt = AddItem(options, "SortABt", "Sort the contents of this folder");
    SortBBt = AddItem(options, "SortBBt", "Sort this folder and subfolders");
    CollapseFoldBt = AddItem(options, "CollapseFoldBt", "Collapse folder and subfolders");
    FindItems2Bt = AddItem(options, "FindItems2Bt", "Find files and folders (key F3)");
    ShowInfoBt = AddItem(options, "ShowInfoBt", "Display information");
    FilePopup->addSeparator();
    Showallitems2Bt = AddItem(FilePopup, "Showallitems2Bt", kShowAllCaption);

    connect(AddFiles2Bt, &QAction::triggered, this, &TMainForm::AddFilesBtClick);
    connect(AddFolders2Bt, &QAction::triggered, this, &TMainForm::AddFoldersBtClick);
    connect(Get2Bt, &QAction::triggered, this, &TMainForm::GetBtClick);
    // The encryption sub-menu runs the commands of the encryption popup.
    for (const auto& [copy, original] : EncryptCounterparts())
        connect(copy, &QAction::triggered, original, &QAction::trigger);
    connect(CollapseFoldBt, &QAction::triggered, this, &TMainForm::CollapseFoldBtClick);
    connect(ShowInfoBt, &QAction::triggered, this, &TMainForm::ShowInfoBtClick);
}

void TMainForm::CreateOptionsPopup()
{
    OptionsPopup = NewMenu(this, "OptionsPopup");
    FindItemsBt = AddItem(OptionsPopup, "FindItemsBt", "Find files and folders (key F3)");
    OpenLogBt = AddItem(OptionsPopup, "OpenLogBt", "Open event log");
    OptionsPopup->addSeparator();
    TestPyxaBt = AddItem(OptionsPopup, "TestPyxaBt", "Test Pyxa file integrity");
    SaveAsBt = AddItem(OptionsPopup, "SaveAsBt", "Save As...");
    RenamePyxaBt = AddItem(OptionsPopup, "RenamePyxaBt", "Rename current Pyxa file");
    DeletePyxaBt = AddItem(OptionsPopup, "DeletePyxaBt", "Delete current Pyxa file");
    WipePyxaBt = AddItem(OptionsPopup, "WipePyxaBt", "Wipe securely current Pyxa file");
    WipeFileBt = AddItem(OptionsPopup, "WipeFileBt", "Wipe securely another file...");
    OpenNewPyxaBt1 = AddItem(OptionsPopup, "OpenNewPyxaBt1", "Open new Pyxa");
    OptionsPopup->addSeparator();
    InstallContextMenuBt = AddItem(OptionsPopup, "InstallContextMenuBt", "Associate Icon and Context menu");
    InstallDesktopBt = AddItem(OptionsPopup, "InstallDesktopBt", "Install \"Desktop\" shortcut");
    InstallStartMenuBt = AddItem(OptionsPopup, "InstallStartMenuBt", "Install \"Start Menu\" shortcut");
    InstallSendToBt = AddItem(OptionsPopup, "InstallSendToBt", "Install \"Send To\" shortcut");
    OptionsPopup->addSeparator();
    Showallitems1Bt = AddItem(OptionsPopup, "Showallitems1Bt", kShowAllCaption);

    connect(OpenLogBt, &QAction::triggered, this, &TMainForm::OpenLogBtClick);
    connect(TestPyxaBt, &QAction::triggered, this, &TMainForm::TestPyxaBtClick);
    connect(SaveAsBt, &QAction::triggered, this, &TMainForm::SaveAsBtClick);
    connect(RenamePyxaBt, &QAction::triggered, this, &TMainForm::RenamePyxaBtClick);
    connect(DeletePyxaBt, &QAction::triggered, this, &TMainForm::DeletePyxaBtClick);
    connect(WipePyxaBt, &QAction::triggered, this, &TMainForm::WipePyxaBtClick);
    connect(WipeFileBt, &QAction::triggered, this, &TMainForm::WipeFileBtClick);
    connect(OpenNewPyxaBt1, &QAction::triggered, this, &TMainForm::OpenNewPyxaBt1Click);
    connect(OptionsPopup, &QMenu::aboutToShow, this, &TMainForm::OptionsPopupPopup);
}

void TMainForm::CreateEncryptPopup()
{
    EncryptPopup = NewMenu(this, "EncryptPopup");
    SetglobalpassBt = AddItem(EncryptPopup, "SetglobalpassBt", "Set automatic password");
    ClearglobalpassBt = AddItem(EncryptPopup, "ClearglobalpassBt", "Clear automatic password");
    EncryptFolderBt = AddItem(EncryptPopup, "EncryptFolderBt", "Encrypt folder and subfolders");
    DecryptFolderBt = AddItem(EncryptPopup, "DecryptFolderBt", "Decrypt folder and subfolders");
    EncryptItemBt = AddItem(EncryptPopup, "EncryptItemBt", "Encrypt this item");
    DecryptItemBt = AddItem(EncryptPopup, "DecryptItemBt", "Decrypt this item");
    RestrictFolderBt = AddItem(EncryptPopup, "RestrictFolderBt", "Restrict folder access");
    RemoveRestrictionBt = AddItem(EncryptPopup, "RemoveRestrictionBt", "Remove folder access restriction");
    LockPyxaBt = AddItem(EncryptPopup, "LockPyxaBt", "Lock Pyxa file read-only");
    LockPyxaBt->setCheckable(true);
    EncryptPopup->addSeparator();
    Showallitems3Bt = AddItem(EncryptPopup, "Showallitems3Bt", kShowAllCaption);

    connect(SetglobalpassBt, &QAction::triggered, this, &TMainForm::SetglobalpassBtClick);
    connect(ClearglobalpassBt, &QAction::triggered, this, &TMainForm::ClearglobalpassBtClick);
    connect(EncryptFolderBt, &QAction::triggered, this, [this] { RunEngine([this] { EncryptFolderCommand(Container); }); });
    connect(DecryptFolderBt, &QAction::triggered, this, [this] { RunEngine([this] { DecryptFolderCommand(Container); }); });
    connect(EncryptItemBt, &QAction::triggered, this, [this] { RunEngine([this] { EncryptItemCommand(Container); }); });
    connect(DecryptItemBt, &QAction::triggered, this, [this] { RunEngine([this] { DecryptItemCommand(Container); }); });
    connect(LockPyxaBt, &QAction::triggered, this, &TMainForm::LockPyxaBtClick);
    connect(EncryptPopup, &QMenu::aboutToShow, this, &TMainForm::EncryptPopupPopup);
}

void TMainForm::ShowPopup(QMenu* popup, QToolButton* button)
{
    if (!FBusy)
        popup->popup(button->mapToGlobal(button->rect().center()));
}

void TMainForm::ShowWhenEnabled(QAction* action) const
{
    action->setVisible(action->isEnabled() || FShowAll);
}

void TMainForm::Showallitems1BtClick()
{
    FShowAll = true;
    for (QAction* showAll : {Showallitems1Bt, Showallitems2Bt, Showallitems3Bt})
        showAll->setVisible(false);
}

void TMainForm::FilePopupPopup(const QPoint& at)
{
    // A context menu over a running operation could start a second one.
    if (FBusy)
        return;
    const bool hasNodes = !Container.Tree.Empty();
    const bool locked = Container.Locked();
    const std::pair<QAction*, bool> states[] = {
        {AddFiles2Bt, AddFilesBt->isEnabled()},
        {AddFolders2Bt, AddFoldersBt->isEnabled()},
        {Get2Bt, GetBt->isEnabled()},
        {RenameBt, ColorBt->isEnabled()},
        {Color2Bt, ColorBt->isEnabled()},
        {Comments2Bt, CommentsBt->isEnabled()},
        {Delete2Bt, DeleteBt->isEnabled()},
        {SortABt, hasNodes && !locked},
        {SortBBt, hasNodes && !locked},
        {CollapseFoldBt, hasNodes},
        {FindItems2Bt, hasNodes},
        {ShowInfoBt, Container.SelectedItem() || (!Container.FileName.empty() && FileExists(Container.FileName))},
    };
    for (const auto& [action, enabled] : states) {
        action->setEnabled(enabled);
        ShowWhenEnabled(action);
    }
    const bool anyOption = SortABt->isEnabled() || SortBBt->isEnabled() || CollapseFoldBt->isEnabled() ||
                           FindItems2Bt->isEnabled() || ShowInfoBt->isEnabled();
    OptionsMenuBt->setVisible(anyOption || FShowAll);
    MirrorEncryptPopup();
    FilePopup->popup(TreeView->viewport()->mapToGlobal(at));
}

std::vector<std::pair<QAction*, QAction*>> TMainForm::EncryptCounterparts() const
{
    return {{Setglobalpass2Bt, SetglobalpassBt},     {Clearglobalpass2Bt, ClearglobalpassBt},
            {EncryptFolder2Bt, EncryptFolderBt},     {DecryptFolder2Bt, DecryptFolderBt},
            {EncryptItem2Bt, EncryptItemBt},         {DecryptItem2Bt, DecryptItemBt},
            {RestrictFolder2Bt, RestrictFolderBt},   {RemoveRestriction2Bt, RemoveRestrictionBt},
            {LockPyxa2Bt, LockPyxaBt}};
}

void TMainForm::MirrorEncryptPopup()
{
    EncryptPopupPopup();
    for (const auto& [copy, original] : EncryptCounterparts())
        Mirror(copy, original);
    LockPyxa2Bt->setChecked(LockPyxaBt->isChecked());
}

void TMainForm::OptionsPopupPopup()
{
    const bool named = !Container.FileName.empty();
    const std::pair<QAction*, bool> states[] = {
        {FindItemsBt, !Container.Tree.Empty()},
        {TestPyxaBt, named && !Container.Modified()},
        {SaveAsBt, SaveBt->isEnabled() || named},
        {RenamePyxaBt, named},
        {DeletePyxaBt, named},
        {WipePyxaBt, named},
    };
    for (const auto& [action, enabled] : states) {
        action->setEnabled(enabled);
        ShowWhenEnabled(action);
    }
}

void TMainForm::EncryptPopupPopup()
{
    const bool automatic = !Container.GlobalPassword.empty();
    SetglobalpassBt->setEnabled(!automatic);
    ClearglobalpassBt->setEnabled(automatic);
    QAction* const commands[] = {EncryptFolderBt, DecryptFolderBt, EncryptItemBt,
                                 DecryptItemBt,   RestrictFolderBt, RemoveRestrictionBt};
    for (QAction* action : commands)
        action->setEnabled(false);
    const bool hasNodes = !Container.Tree.Empty();
    LockPyxaBt->setEnabled(hasNodes);
    LockPyxaBt->setChecked(Container.Locked());
    const TTreeNode* node = Container.SelectedItem();
    if (!Container.Locked() && node && node->IsFolder()) {
        RestrictFolderBt->setEnabled(!IsRestrictedFolder(*node));
        RemoveRestrictionBt->setEnabled(IsRestrictedFolder(*node));
        EncryptFolderBt->setEnabled(true);
        DecryptFolderBt->setEnabled(true);
    } else if (!Container.Locked() && node) {
        EncryptItemBt->setEnabled(!node->Item().Encrypted);
        DecryptItemBt->setEnabled(node->Item().Encrypted);
    } else if (!Container.Locked()) {
        EncryptFolderBt->setEnabled(hasNodes);
        DecryptFolderBt->setEnabled(hasNodes);
    }
    QAction* const everyItem[] = {SetglobalpassBt, ClearglobalpassBt, EncryptFolderBt,   DecryptFolderBt,
                                  EncryptItemBt,   DecryptItemBt,     RestrictFolderBt, RemoveRestrictionBt,
                                  LockPyxaBt};
    for (QAction* action : everyItem)
        action->setVisible(action->isEnabled());
    if (!FShowAll)
        return;
    // Show-all mode shows the folder commands, the lock and one item of each pair, never both.
    for (QAction* action : {LockPyxaBt, EncryptFolderBt, DecryptFolderBt})
        action->setVisible(true);
    if (!RestrictFolderBt->isVisible() && !RemoveRestrictionBt->isVisible())
        RestrictFolderBt->setVisible(true);
    if (!EncryptItemBt->isVisible() && !DecryptItemBt->isVisible())
        EncryptItemBt->setVisible(true);
}

}  // namespace pyxa
