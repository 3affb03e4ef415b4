#include "AppTests.h"
#include "CatalogueModel.h"
#include "MainForm.h"
#include "ScriptedDialogs.h"
#include "ScrollLock.h"
#include "StatusPanels.h"
#include "WindowFixture.h"
#include "protection/AutomaticPassword.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include <memory>

namespace pyxa::test {

namespace {

std::unique_ptr<TWindowFolder> gTemp;

// docs/ (one.txt, two.txt), three.txt, with the comments of three.txt set when asked.
void AddFolderAndFile(TMainForm& form, TScriptedDialogs& dialogs, bool comments)
{
    QDir(gTemp->Path("")).mkpath("docs");
    gTemp->WriteFile("docs/one.txt", "1");
    gTemp->WriteFile("docs/two.txt", "2");
    dialogs.FolderAnswers.push_back(gTemp->Path("docs"));
    form.AddFoldersBtClick();
    form.TreeView->setCurrentIndex({});
    dialogs.OpenAnswers.push_back({gTemp->WriteFile("three.txt", "3")});
    form.AddFilesBtClick();
    if (comments)
        form.Model->NodeOf(form.Model->index(1, 0))->Item().Comments = "read me";
}

void Select(TMainForm& form, int row)
{
    form.TreeView->setCurrentIndex(row < 0 ? QModelIndex() : form.Model->index(row, 0));
}

void Press(TMainForm& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(form.TreeView, key, modifiers);
}

}  // namespace

void CommandSurfaceTest::init()
{
    gTemp = std::make_unique<TWindowFolder>();
    QVERIFY(gTemp->IsValid());
}

void CommandSurfaceTest::cleanup()
{
    gTemp.reset();
}

void CommandSurfaceTest::ButtonsFollowSelectionAndLock_data()
{
    QTest::addColumn<int>("row");  // -1: nothing selected
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<QString>("enabled");  // the enabled buttons among the seven that change
    QTest::newRow("nothing selected") << -1 << false << false << "Create Add AddFolders Get Delete";
    QTest::newRow("folder selected") << 0 << false << false << "Create Add AddFolders Get Delete Color Comments";
    QTest::newRow("file selected") << 1 << false << false << "Get Delete Color Comments";
    QTest::newRow("locked, nothing selected") << -1 << true << false << "Get";
    QTest::newRow("locked, folder selected") << 0 << true << false << "Get";
    QTest::newRow("locked, file without comments") << 1 << true << false << "Get";
    QTest::newRow("locked, file with comments readable") << 1 << true << true << "Get Comments";
}

void CommandSurfaceTest::ButtonsFollowSelectionAndLock()
{
    QFETCH(int, row);
    QFETCH(bool, locked);
    QFETCH(bool, comments);
    QFETCH(QString, enabled);
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddFolderAndFile(form, dialogs, comments);
    if (locked)
        form.LockPyxaBt->trigger();
    Select(form, row);
    const std::pair<QString, QToolButton*> buttons[] = {
        {"Create", form.CreateFolderBt}, {"Add", form.AddFilesBt},    {"AddFolders", form.AddFoldersBt},
        {"Get", form.GetBt},             {"Delete", form.DeleteBt},   {"Color", form.ColorBt},
        {"Comments", form.CommentsBt}};
    const QStringList wanted = enabled.split(' ');
    for (const auto& [name, button] : buttons)
        QVERIFY2(button->isEnabled() == wanted.contains(name), qPrintable(name));

    form.SetBusy(true, true);
    for (const auto& [name, button] : buttons)
        QVERIFY2(!button->isEnabled(), qPrintable(name));
    form.SetBusy(false, false);
    QCOMPARE(form.GetBt->isEnabled(), true);
}

void CommandSurfaceTest::SelectionTextShowsSizeOrDate()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddFolderAndFile(form, dialogs, false);
    Select(form, 1);
    QVERIFY(form.StatusPanel3->text().startsWith("Size: 1Bytes | Date: "));
    Select(form, 0);
    QVERIFY(form.StatusPanel3->text().startsWith("Date: "));
    Select(form, -1);
    QCOMPARE(form.StatusPanel3->text(), QString());
}

void CommandSurfaceTest::ShowAllRevealsDisabledItems()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    form.OptionsPopup->popup({0, 0});
    QCoreApplication::processEvents();
    QVERIFY(!form.TestPyxaBt->isVisible());
    QVERIFY(!form.RenamePyxaBt->isVisible());
    QVERIFY(form.WipeFileBt->isVisible());
    QVERIFY(form.Showallitems1Bt->isVisible());
    form.OptionsPopup->hide();

    form.Showallitems1Bt->trigger();
    QVERIFY(form.ShowAll());
    for (QAction* showAll : {form.Showallitems1Bt, form.Showallitems2Bt, form.Showallitems3Bt})
        QVERIFY(!showAll->isVisible());
    form.OptionsPopup->popup({0, 0});
    QCoreApplication::processEvents();
    QVERIFY(form.TestPyxaBt->isVisible());
    QVERIFY(!form.TestPyxaBt->isEnabled());
    QVERIFY(form.RenamePyxaBt->isVisible());
    form.OptionsPopup->hide();
}

void CommandSurfaceTest::ContextMenuMirrorsButtonsAndEncryptMenu()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddFolderAndFile(form, dialogs, false);
    Select(form, 1);
    emit form.TreeView->customContextMenuRequested({5, 5});
    QCoreApplication::processEvents();
    QVERIFY(form.FilePopup->isVisible());
    QVERIFY(!form.AddFiles2Bt->isVisible());
    QVERIFY(form.Get2Bt->isVisible());
    QVERIFY(form.RenameBt->isEnabled());
    QVERIFY(form.EncryptItem2Bt->isVisible());
    QVERIFY(!form.DecryptItem2Bt->isVisible());
    QVERIFY(!form.EncryptFolder2Bt->isVisible());
    QVERIFY(!form.RestrictFolder2Bt->isVisible());
    QVERIFY(form.LockPyxa2Bt->isVisible());
    QVERIFY(form.OptionsMenuBt->isVisible());
    form.FilePopup->hide();

    // Show-all mode brings the greyed items, but only one item of each encryption pair.
    form.Showallitems2Bt->trigger();
    emit form.TreeView->customContextMenuRequested({5, 5});
    QCoreApplication::processEvents();
    QVERIFY(form.AddFiles2Bt->isVisible());
    QVERIFY(!form.AddFiles2Bt->isEnabled());
    QVERIFY(form.EncryptFolder2Bt->isVisible());
    QVERIFY(form.RestrictFolder2Bt->isVisible());
    QVERIFY(!form.RemoveRestriction2Bt->isVisible());
    QVERIFY(!form.DecryptItem2Bt->isVisible());
    QVERIFY(form.Setglobalpass2Bt->isVisible());
    QVERIFY(!form.Clearglobalpass2Bt->isVisible());
    form.FilePopup->hide();
}

void CommandSurfaceTest::ContextMenuClosesWhileBusy()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddFolderAndFile(form, dialogs, false);
    form.SetBusy(true, true);
    emit form.TreeView->customContextMenuRequested({5, 5});
    QCoreApplication::processEvents();
    QVERIFY(!form.FilePopup->isVisible());
    form.SetBusy(false, false);
}

void CommandSurfaceTest::WaitPanelCancelsOnlyWhenCancellable()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    form.SetBusy(true, false);
    form.WaitPanelMouseDown();
    QVERIFY(!form.Host.CancelRequested());
    QVERIFY(form.Busy());
    form.SetBusy(true, true);
    form.WaitPanelMouseDown();
    QVERIFY(form.Host.CancelRequested());
    QVERIFY(!form.Busy());
    form.SetBusy(false, false);
}

void CommandSurfaceTest::KeysRunTheirCommands()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    form.TreeView->setFocus();
    Press(form, Qt::Key_Insert, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(dialogs.FileRequests.size(), size_t(0));
    Press(form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs.FileRequests.size(), size_t(0));
    Press(form, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(dialogs.FileRequests.size(), size_t(1));
    QCOMPARE(dialogs.FileRequests.back().Title, QString("Add file/s..."));
    Press(form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs.FileRequests.back().Title, QString("Open Pyxa file..."));

    AddFolderAndFile(form, dialogs, false);
    Select(form, 0);
    Press(form, Qt::Key_Return);
    QVERIFY(form.TreeView->isExpanded(form.Model->index(0, 0)));
    Press(form, Qt::Key_Return);
    QVERIFY(!form.TreeView->isExpanded(form.Model->index(0, 0)));
    // A key runs the command even while its button is disabled; the command checks for itself.
    Select(form, 1);
    QVERIFY(!form.AddFoldersBt->isEnabled());
    const size_t asked = dialogs.FileRequests.size();
    Press(form, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(dialogs.FileRequests.size(), asked);
    Press(form, Qt::Key_F5);
    QCOMPARE(form.Model->rowCount(), 2);
}

void CommandSurfaceTest::LogoHidesAtFirstSelection()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    QVERIFY(form.LogoPanel->isVisible());
    // At the bottom right of the tree, inside it.
    const QRect tree = form.TreeView->rect();
    QVERIFY(tree.contains(form.LogoPanel->geometry()));
    QVERIFY(form.LogoPanel->geometry().right() > tree.width() - 16);
    QVERIFY(form.LogoPanel->geometry().bottom() > tree.height() - 16);
    AddFolderAndFile(form, dialogs, false);
    Select(form, 1);
    QVERIFY(!form.LogoPanel->isVisible());

    TMainForm withFile(dialogs, {gTemp->Path("missing.pyxa")});
    Start(withFile);
    QVERIFY(!withFile.LogoPanel->isVisible());
}

void CommandSurfaceTest::ScrollLockFollowsTheAutomaticPassword()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    QVERIFY(!form.ScrollLock->UsesX11());
    form.KeyTimerTimer();
    QVERIFY(!form.ScrollLock->State());
    ApplyGlobalPassword(form.Container, "secret");
    QCOMPARE(form.StatusImageIndex2(), 5);
    form.KeyTimerTimer();
    QVERIFY(form.ScrollLock->State());
    // A press by the user is undone at the next tick.
    form.ScrollLock->Set(false);
    form.KeyTimerTimer();
    QVERIFY(form.ScrollLock->State());
    QVERIFY(form.close());
    QVERIFY(!form.ScrollLock->State());
}

void CommandSurfaceTest::RenameCurrentFile()
{
    const QString original = gTemp->WriteFile("box.pyxa", "not read");
    gTemp->WriteFile("taken.pyxa", "another");
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    form.Container.FileName = original.toStdString();
    form.UpdateTitle();

    dialogs.InputAnswers.push_back(QString());
    dialogs.InputAnswers.push_back(QString("taken"));
    dialogs.InputAnswers.push_back(QString("renamed"));
    form.RenamePyxaBtClick();
    QCOMPARE(dialogs.InputRequests.back(), QStringList({"Rename file", "Please enter new filename:", "box.pyxa"}));
    QCOMPARE(QString::fromStdString(form.Container.FileName.string()), original);
    QVERIFY(dialogs.Boxes.empty());

    form.RenamePyxaBtClick();
    QCOMPARE(dialogs.Boxes.size(), size_t(1));
    QCOMPARE(dialogs.Boxes[0].Caption, QString("Rename file"));
    QCOMPARE(dialogs.Boxes[0].Instruction, QString("File cannot be renamed."));
    QCOMPARE(dialogs.Boxes[0].Icon, 98);
    QCOMPARE(dialogs.Boxes[0].Buttons, 4);

    form.RenamePyxaBtClick();
    QCOMPARE(QString::fromStdString(form.Container.FileName.string()), gTemp->Path("renamed.pyxa"));
    QVERIFY(QFile::exists(gTemp->Path("renamed.pyxa")));
    QCOMPARE(form.windowTitle(), QString("Pyxa - \"renamed\""));
    QCOMPARE(form.StatusPanel3->text(), QString("Pyxa file successfully renamed."));
}

void CommandSurfaceTest::CollapseFolderAndSubfolders()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddFolderAndFile(form, dialogs, false);
    const QModelIndex docs = form.Model->index(0, 0);
    form.TreeView->expand(docs);
    Select(form, 1);
    form.CollapseFoldBtClick();
    QVERIFY2(form.TreeView->isExpanded(docs), "a top-level file collapses nothing");
    form.TreeView->setCurrentIndex(form.Model->index(0, 0, docs));
    form.CollapseFoldBtClick();
    QVERIFY(!form.TreeView->isExpanded(docs));
    QVERIFY(!form.Model->NodeOf(docs)->Expanded);
    form.TreeView->expand(docs);
    Select(form, -1);
    form.CollapseFoldBtClick();
    QVERIFY(!form.TreeView->isExpanded(docs));
}

}  // namespace pyxa::test
