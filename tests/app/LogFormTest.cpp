#include "AppTests.h"
#include "LogForm.h"
#include "ScriptedDialogs.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace pyxa::test {

void LogFormTest::EntriesWaitForTheTimer()
{
    TScriptedDialogs dialogs;
    TLogForm log(dialogs);
    QCOMPARE(log.Timer.interval(), 2500);
    QVERIFY(log.Timer.isActive());
    log.Display("first", "a.txt", 0, false, false);
    log.Display("second", "b.txt", 1, false, false);
    log.Display("third", "", 3, false, false);
    QCOMPARE(log.ListView->topLevelItemCount(), 0);
    QCOMPARE(log.StatusText->text(), QString("Updating, wait..."));
    log.TimerTimer();
    QCOMPARE(log.ListView->topLevelItemCount(), 3);
    QCOMPARE(log.ListView->topLevelItem(0)->text(1), QString("first"));
    QCOMPARE(log.ListView->topLevelItem(1)->text(2), QString("b.txt"));
    QCOMPARE(log.ListView->topLevelItem(2)->text(1), QString("third"));
    QVERIFY(log.StatusText->text().isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(dialogs.Boxes.empty());
}

void LogFormTest::OneWarningBoxPerTick()
{
    TScriptedDialogs dialogs;
    TLogForm log(dialogs);
    log.Display("CRC error on file", "x", 3, true, false);
    log.Display("This folder has not been extracted", "y", 2, true, false);
    log.TimerTimer();
    QCOMPARE(log.ListView->topLevelItem(0)->foreground(1).color(), QColor(0xD0, 0x00, 0x00));
    QCoreApplication::processEvents();
    QCOMPARE(dialogs.Boxes.size(), size_t(1));
    QCOMPARE(dialogs.Boxes[0].Instruction, QString("WARNING: There are important issues"));
    QCOMPARE(dialogs.Boxes[0].Icon, 81);
    QCOMPARE(dialogs.Boxes[0].Buttons, 4);
    log.Display("CRC error on file", "z", 3, true, false);
    log.TimerTimer();
    QCoreApplication::processEvents();
    QCOMPARE(dialogs.Boxes.size(), size_t(2));
}

void LogFormTest::ErrorsShowTheHiddenWindow()
{
    TScriptedDialogs dialogs;
    TLogForm log(dialogs);
    log.Display("Operation completed", "", 1, false, false);
    QVERIFY(!log.isVisible());
    log.Display("Cannot open file", "", 3, false, true);
    QVERIFY(log.isVisible());
    QCOMPARE(log.ListView->topLevelItemCount(), 0);
    log.close();
    QVERIFY(!log.isVisible());
    log.TimerTimer();
    log.show();
    QCOMPARE(log.ListView->topLevelItemCount(), 2);
    QVERIFY(log.ClearBt->isEnabled());
}

void LogFormTest::ClearingKeepsQueuedEntries()
{
    TScriptedDialogs dialogs;
    TLogForm log(dialogs);
    log.show();
    log.Display("one", "", 0, false, false);
    log.TimerTimer();
    log.Display("two", "", 0, false, false);
    log.ClearBtClick();
    QCOMPARE(log.ListView->topLevelItemCount(), 0);
    QVERIFY(!log.ClearBt->isEnabled());
    log.TimerTimer();
    QCOMPARE(log.ListView->topLevelItemCount(), 1);
    QCOMPARE(log.ListView->topLevelItem(0)->text(1), QString("two"));
    QVERIFY(log.ClearBt->isEnabled());
}

}  // namespace pyxa::test
