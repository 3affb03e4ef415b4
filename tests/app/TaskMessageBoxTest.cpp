#include "AppTests.h"
#include "TaskMessageBox.h"

#include <QTest>

namespace pyxa::test {

void TaskMessageBoxTest::IconCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("icon");
    const QList<std::pair<int, QMessageBox::Icon>> table = {
        {81, QMessageBox::Information}, {106, QMessageBox::Information}, {84, QMessageBox::Warning},
        {107, QMessageBox::Warning},    {98, QMessageBox::Critical},     {105, QMessageBox::Critical},
        {99, QMessageBox::Question},    {104, QMessageBox::Question},    {0, QMessageBox::NoIcon},
        {82, QMessageBox::NoIcon}};
    for (const auto& [code, icon] : table)
        QTest::addRow("%d", code) << code << static_cast<int>(icon);
}

void TaskMessageBoxTest::IconCodes()
{
    QFETCH(int, code);
    QFETCH(int, icon);
    QCOMPARE(static_cast<int>(MessageIconFor(code)), icon);
}

void TaskMessageBoxTest::ButtonBitsAndResults()
{
    QCOMPARE(MessageButtonsFor(1 | 2 | 8), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(MessageButtonsFor(4 | 16), QMessageBox::Ok | QMessageBox::Retry);
    QCOMPARE(MessageButtonsFor(0), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(MessageResultFor(QMessageBox::Ok), 1);
    QCOMPARE(MessageResultFor(QMessageBox::Cancel), 2);
    QCOMPARE(MessageResultFor(QMessageBox::Retry), 4);
    QCOMPARE(MessageResultFor(QMessageBox::Yes), 6);
    QCOMPARE(MessageResultFor(QMessageBox::No), 7);
    QCOMPARE(MessageResultFor(QMessageBox::NoButton), 0);
}

void TaskMessageBoxTest::TextsAreCapped()
{
    QMessageBox box;
    SetUpTaskMessageBox(box, "Caption", QString(3000, 'a'), QString(2049, 'b'), 99, 1 | 2);
    QCOMPARE(box.windowTitle(), QString("Caption"));
    QCOMPARE(box.text().size(), 2049);
    QCOMPARE(box.informativeText(), QString(2049, 'b'));
    QCOMPARE(box.icon(), QMessageBox::Question);
    QCOMPARE(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
}

}  // namespace pyxa::test
