#include "AppTests.h"
#include "PassForm.h"
#include "ScriptedDialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace pyxa::test {

namespace {

TPasswordRequest Request(int mode, bool showAutomatic)
{
    TPasswordRequest request;
    request.Mode = mode;
    request.ShowAutomatic = showAutomatic;
    request.Label = "The file \"a.txt\" is encrypted...";
    return request;
}

}  // namespace

void PassFormTest::MismatchKeepsTheDialogOpen()
{
    TScriptedDialogs dialogs;
    TPassForm form(dialogs, {});
    form.Prepare(Request(1, false), false);
    form.show();
    QTest::keyClicks(form.Edit1, "secret");
    QTest::keyClicks(form.Edit2, "SECRET");
    QVERIFY(form.ConfirmBt->isEnabled());
    QTest::keyClick(form.Edit2, Qt::Key_Return);
    QCOMPARE(dialogs.Boxes.size(), size_t(1));
    QCOMPARE(dialogs.Boxes[0].Instruction, QString("Password mismatch"));
    QCOMPARE(dialogs.Boxes[0].Icon, 107);
    QVERIFY(form.isVisible());
    QVERIFY(!form.Result);
    QVERIFY(form.Edit1->text().isEmpty());
    QVERIFY(form.Edit2->text().isEmpty());
    QCOMPARE(form.focusWidget(), form.Edit1);
}

void PassFormTest::EnterMovesTheFocusUntilBothAreFilled()
{
    TScriptedDialogs dialogs;
    TPassForm form(dialogs, {});
    form.Prepare(Request(1, false), false);
    form.show();
    QVERIFY(!form.AutomaticCheck->isVisible());
    QVERIFY(form.Edit2->isVisible());
    QTest::keyClicks(form.Edit1, "pw");
    QVERIFY(!form.ConfirmBt->isEnabled());
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    QVERIFY(form.isVisible());
    QCOMPARE(form.focusWidget(), form.Edit2);
    QTest::keyClicks(form.Edit2, "pw");
    QTest::keyClick(form.Edit2, Qt::Key_Return);
    QVERIFY(!form.isVisible());
    QVERIFY(form.Result);
    QCOMPARE(form.Password, QString("pw"));
    QVERIFY(form.Edit1->text().isEmpty());
    QVERIFY(form.Answer().Accepted);
}

void PassFormTest::EscapeCancelsAndRequestsCancel()
{
    TScriptedDialogs dialogs;
    bool cancelRequested = false;
    TPassForm form(dialogs, [&] { cancelRequested = true; });
    form.Prepare(Request(2, true), false);
    form.show();
    QTest::keyClicks(form.Edit1, "typed");
    QTest::keyClick(form.Edit1, Qt::Key_Escape);
    QVERIFY(cancelRequested);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Result);
    QVERIFY(form.Password.isEmpty());
    QVERIFY(!form.Answer().Accepted);
}

void PassFormTest::ModeTwoConfirmsWithEnter()
{
    TScriptedDialogs dialogs;
    TPassForm form(dialogs, {});
    form.Prepare(Request(2, true), false);
    form.show();
    QVERIFY(!form.Edit2->isVisible());
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    QVERIFY(form.isVisible());
    QTest::keyClicks(form.Edit1, "Key");
    form.AutomaticCheck->setChecked(true);
    QTest::keyClick(form.Edit1, Qt::Key_Enter);
    QVERIFY(!form.isVisible());
    const TPasswordAnswer answer = form.Answer();
    QVERIFY(answer.Accepted);
    QCOMPARE(answer.Password, std::string("Key"));
    QVERIFY(answer.Automatic);
}

void PassFormTest::AutomaticBoxFollowsTheExtractingFlag_data()
{
    QTest::addColumn<bool>("extracting");
    QTest::newRow("extracting") << true;
    QTest::newRow("not extracting") << false;
}

void PassFormTest::AutomaticBoxFollowsTheExtractingFlag()
{
    QFETCH(bool, extracting);
    TScriptedDialogs dialogs;
    TPassForm form(dialogs, {});
    form.Prepare(Request(2, true), extracting);
    form.show();
    QVERIFY(form.AutomaticCheck->isVisible());
    QCOMPARE(form.AutomaticCheck->isChecked(), extracting);
}

}  // namespace pyxa::test
