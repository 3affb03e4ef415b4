#include "AppTests.h"
#include "MainForm.h"
#include "ScriptedDialogs.h"
#include "support/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

namespace pyxa::test {

namespace fs = std::filesystem;

namespace {

std::unique_ptr<QTemporaryDir> gTemp;

fs::path TempPath(const QString& name)
{
    return QDir(gTemp->path()).filePath(name).toStdString();
}

fs::path SettingsFile()
{
    return TempPath("config/PyxaProject/Pyxa/pyxa.ini");
}

void WriteSettings(const QString& text)
{
    fs::create_directories(SettingsFile().parent_path());
    QFile file(QString::fromStdString(SettingsFile().string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

QByteArray SettingsText()
{
    QFile file(QString::fromStdString(SettingsFile().string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Start(TMainForm& form)
{
    form.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

}  // namespace

void ConfigurationTest::init()
{
    gTemp = std::make_unique<QTemporaryDir>();
    QVERIFY(gTemp->isValid());
    QDir(gTemp->path()).mkdir("tmp");
    qputenv("TMPDIR", QDir(gTemp->path()).filePath("tmp").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(gTemp->path()).filePath("config").toUtf8());
}

void ConfigurationTest::cleanup()
{
    gTemp.reset();
}

void ConfigurationTest::FirstRunWritesTheDefaults()
{
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    QCOMPARE(SettingsText(),
             QByteArray("[Pyxa]\nVersion=016000\n[Configuration]\nRestoreOriginalDate=1\nTempDirMode=0\n"));
    QVERIFY(form.Container.RestoreOriginalDate);
    QCOMPARE(form.Container.WorkingFolder.Path().parent_path().string(), TempPath("tmp").string());
    QVERIFY(form.close());
}

void ConfigurationTest::TempDirModeChoosesTheWorkingFolder_data()
{
    QTest::addColumn<QString>("settings");     // %1 stands for an existing folder "custom"
    QTest::addColumn<QString>("base");         // folder expected to hold the working folder
    QTest::addColumn<int>("writtenMode");
    QTest::addColumn<QString>("writtenTempDir");  // empty: no TempDir key expected
    QTest::newRow("mode 0") << "TempDirMode=0\n" << "tmp" << 0 << "";
    QTest::newRow("mode 1") << "TempDirMode=1\n" << "config/PyxaProject/Pyxa" << 1 << "";
    QTest::newRow("mode 2, folder") << "TempDirMode=2\nTempDir=%1\n" << "custom" << 2 << "%1/";
    QTest::newRow("mode 2, with separator") << "TempDirMode=2\nTempDir=%1/\n" << "custom" << 2 << "%1/";
    QTest::newRow("mode 2, no TempDir") << "TempDirMode=2\n" << "tmp" << 0 << "";
    QTest::newRow("mode 2, empty TempDir") << "TempDirMode=2\nTempDir=\n" << "tmp" << 0 << "";
    QTest::newRow("mode 2, missing folder") << "TempDirMode=2\nTempDir=%1/gone\n" << "tmp" << 0 << "";
    QTest::newRow("unknown mode") << "TempDirMode=7\n" << "tmp" << 0 << "";
    QTest::newRow("not a number") << "TempDirMode=two\n" << "tmp" << 0 << "";
}

void ConfigurationTest::TempDirModeChoosesTheWorkingFolder()
{
    QFETCH(QString, settings);
    QFETCH(QString, base);
    QFETCH(int, writtenMode);
    QFETCH(QString, writtenTempDir);
    const QString custom = QString::fromStdString(TempPath("custom").string());
    QDir(gTemp->path()).mkdir("custom");
    WriteSettings("[Pyxa]\nVersion=016000\n[Configuration]\n" + QString(settings).replace("%1", custom));
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        QCOMPARE(form.Container.WorkingFolder.Path().parent_path().string(), TempPath(base).string());
        QVERIFY(fs::is_directory(form.Container.WorkingFolder.Path()));
        QVERIFY(form.close());
    }
    const TIniFile written(SettingsFile());
    QCOMPARE(written.ReadString("Pyxa", "Version", ""), std::string("016000"));
    QCOMPARE(written.ReadInteger("Configuration", "TempDirMode", -1), writtenMode);
    if (!writtenTempDir.isEmpty()) {
        const std::string expected = QString(writtenTempDir).replace("%1", custom).toStdString();
        QCOMPARE(written.ReadString("Configuration", "TempDir", ""), expected);
    }
}

void ConfigurationTest::RestoreOriginalDateReachesTheContainer()
{
    WriteSettings("[Pyxa]\nVersion=016000\n[Configuration]\nRestoreOriginalDate=0\n");
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        Start(form);
        QVERIFY(!form.Container.RestoreOriginalDate);
        QVERIFY(form.close());
    }
    QVERIFY(!TIniFile(SettingsFile()).ReadBool("Configuration", "RestoreOriginalDate", true));
}

void ConfigurationTest::OtherVersionIsReplacedKeepingTheSettings()
{
    WriteSettings("[Pyxa]\nVersion=015000\nOld=x\n[Configuration]\nRestoreOriginalDate=0\nTempDirMode=1\n");
    fs::permissions(SettingsFile(), fs::perms::owner_write, fs::perm_options::remove);
    TScriptedDialogs dialogs;
    TMainForm form(dialogs, {});
    Start(form);
    QCOMPARE(SettingsText(),
             QByteArray("[Pyxa]\nVersion=016000\n[Configuration]\nRestoreOriginalDate=0\nTempDirMode=1\n"));
    QVERIFY(form.close());
}

void ConfigurationTest::CloseBeforeStartupLeavesTheFileAlone()
{
    const QByteArray settings("[Pyxa]\nVersion=016000\n[Configuration]\nRestoreOriginalDate=0\nTempDirMode=1\n");
    WriteSettings(QString::fromUtf8(settings));
    {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs, {});
        form.Container.RestoreOriginalDate = true;
        form.close();
    }
    QCOMPARE(SettingsText(), settings);
}

}  // namespace pyxa::test
