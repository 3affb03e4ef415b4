#include "AppTests.h"
#include "CatalogueModel.h"
#include "LogForm.h"
#include "MainForm.h"
#include "ScriptedDialogs.h"
#include "WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <memory>

namespace pyxa::test {

namespace {

std::unique_ptr<TWindowFolder> gTemp;

}  // namespace

void MainFormTest::init()
{
    gTemp = std::make_unique<TWindowFolder>();
    QVERIFY(gTemp->IsValid());
}

void MainFormTest::cleanup()
{
    gTemp.reset();
}

void MainFormTest::AddedFilesSurviveSaveAndReopen()
{
    const QString target = gTemp->Path("packed.pyxa");
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        QCOMPARE(form.StatusPanel3->text(), QString("New file with no name"));
        AddTwoFiles(form, dialogs, *gTemp);
        QCOMPARE(form.Model->rowCount(), 2);
        QVERIFY(form.SaveBt->isEnabled());
        QCOMPARE(form.StatusImageIndex1(), 2);
        dialogs.SaveAnswers.push_back(gTemp->Path("packed"));
        form.SaveBtClick();
        QCoreApplication::processEvents();
        QVERIFY(QFile::exists(target));
        QVERIFY(!form.SaveBt->isEnabled());
        QCOMPARE(form.windowTitle(), QString("Pyxa - \"packed\""));
        QCOMPARE(dialogs.FileRequests.back().Title, QString("Save Pyxa file..."));
        QVERIFY(form.close());
    }
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    dialogs.OpenAnswers.push_back({target});
    form.OpenBtClick();
    QCoreApplication::processEvents();
    QCOMPARE(form.Model->rowCount(), 2);
    QCOMPARE(form.Model->index(0, 0).data().toString(), QString("one.txt"));
    QCOMPARE(form.Model->index(1, 0).data().toString(), QString("two.txt"));
    QVERIFY(form.GetBt->isEnabled());
    QCOMPARE(form.StatusImageIndex1(), 0);
}

void MainFormTest::CloseQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Cancel keeps the window") << 2 << false << false;
    QTest::newRow("No closes without saving") << 7 << true << false;
    QTest::newRow("Yes saves, then closes") << 6 << true << true;
}

void MainFormTest::CloseQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    const QString target = gTemp->Path("closing.pyxa");
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddTwoFiles(form, dialogs, *gTemp);
    dialogs.BoxAnswers.push_back(answer);
    dialogs.SaveAnswers.push_back(target);
    form.close();
    QCoreApplication::processEvents();
    QCOMPARE(dialogs.Boxes.size(), size_t(1));
    QCOMPARE(dialogs.Boxes[0].Instruction, QString("File was not saved."));
    QCOMPARE(dialogs.Boxes[0].Buttons, 1 | 2 | 8);
    QCOMPARE(form.isVisible(), !closed);
    QCOMPARE(QFile::exists(target), saved);
}

void MainFormTest::OpenQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("opened");
    QTest::newRow("Cancel keeps the catalogue") << 2 << false << false;
    QTest::newRow("No opens without saving") << 7 << false << true;
    QTest::newRow("Yes saves, then opens") << 6 << true << true;
}

void MainFormTest::OpenQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, opened);
    const QString other = gTemp->Path("other.pyxa");
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        dialogs.OpenAnswers.push_back({gTemp->WriteFile("single.txt", "alone")});
        form.AddFilesBtClick();
        dialogs.SaveAnswers.push_back(other);
        form.SaveBtClick();
        QCoreApplication::processEvents();
    }
    const QString target = gTemp->Path("unsaved.pyxa");
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddTwoFiles(form, dialogs, *gTemp);
    dialogs.BoxAnswers.push_back(answer);
    dialogs.SaveAnswers.push_back(target);
    dialogs.OpenAnswers.push_back({other});
    form.LogForm->show();
    form.AllowRearrangBt->setChecked(true);
    form.OpenBtClick();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(dialogs.Boxes.size(), size_t(1));
    QCOMPARE(dialogs.Boxes[0].Instruction, QString("File was not saved."));
    QCOMPARE(QFile::exists(target), saved);
    QCOMPARE(form.Model->rowCount(), opened ? 1 : 2);
    QCOMPARE(form.Container.FileName.string(), opened ? other.toStdString() : std::string());
    // Opening returns the window to the state of a new container first.
    QCOMPARE(form.LogForm->isVisible(), !opened);
    QCOMPARE(form.AllowRearrangBt->isChecked(), !opened);
}

void MainFormTest::LockTogglesTitleAndCommands()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    AddTwoFiles(form, dialogs, *gTemp);
    QVERIFY(form.AddFilesBt->isEnabled());
    form.LockPyxaBt->trigger();
    QVERIFY(form.Container.Locked());
    QCOMPARE(form.windowTitle(), QString("Pyxa - File Packer [Read-only]"));
    QCOMPARE(form.StatusPanel3->text(), QString("Pyxa file is LOCKED."));
    QVERIFY(!form.AddFilesBt->isEnabled());
    QVERIFY(!form.AddFoldersBt->isEnabled());
    QVERIFY(form.GetBt->isEnabled());
    form.AddFilesBtClick();
    QCOMPARE(form.Model->rowCount(), 2);
    form.LockPyxaBt->trigger();
    QVERIFY(!form.Container.Locked());
    QCOMPARE(form.windowTitle(), QString("Pyxa - File Packer"));
    QCOMPARE(form.StatusPanel3->text(), QString("Pyxa file is unlocked."));
    QVERIFY(form.AddFilesBt->isEnabled());
    QVERIFY(form.Container.ModifiedInd);
}

void MainFormTest::WorkingFolderGoesAtExit()
{
    std::filesystem::path folder;
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        folder = form.Container.WorkingFolder.Path();
        QVERIFY(std::filesystem::is_directory(folder));
        QCOMPARE(folder.parent_path().string(), gTemp->Path("tmp").toStdString());
        QVERIFY(form.close());
    }
    QVERIFY(!std::filesystem::exists(folder));
}

void MainFormTest::CommandLineOpensOnlyPyxaFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opened");
    QTest::newRow("lower case") << "a.pyxa" << true;
    QTest::newRow("upper case") << "B.PYXA" << true;
    QTest::newRow("other extension") << "c.zip" << false;
}

void MainFormTest::CommandLineOpensOnlyPyxaFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, opened);
    const QString made = gTemp->Path("made.pyxa");
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        AddTwoFiles(form, dialogs, *gTemp);
        dialogs.SaveAnswers.push_back(made);
        form.SaveBtClick();
        QCoreApplication::processEvents();
    }
    const QString argument = gTemp->Path(name);
    QVERIFY(QFile::rename(made, argument));
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {argument});
    Start(form);
    QCoreApplication::processEvents();
    QCOMPARE(form.Model->rowCount(), opened ? 2 : 0);
}

}  // namespace pyxa::test
