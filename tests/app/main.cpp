#include "AppTests.h"

#include <QApplication>
#include <QTest>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    int failures = 0;
    pyxa::test::TaskMessageBoxTest messageBox;
    failures += QTest::qExec(&messageBox, argc, argv);
    pyxa::test::CatalogueModelTest model;
    failures += QTest::qExec(&model, argc, argv);
    pyxa::test::LogFormTest log;
    failures += QTest::qExec(&log, argc, argv);
    pyxa::test::PassFormTest password;
    failures += QTest::qExec(&password, argc, argv);
    pyxa::test::MainFormTest mainForm;
    failures += QTest::qExec(&mainForm, argc, argv);
    pyxa::test::CommandSurfaceTest commandSurface;
    failures += QTest::qExec(&commandSurface, argc, argv);
    pyxa::test::FileIconsTest fileIcons;
    failures += QTest::qExec(&fileIcons, argc, argv);
    pyxa::test::ConfigurationTest configuration;
    failures += QTest::qExec(&configuration, argc, argv);
    return failures == 0 ? 0 : 1;
}
