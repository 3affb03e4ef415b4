#pragma once
// What the window tests share: a temporary folder that also holds the working and configuration
// folders, files to add, and a started main window.

#include "MainForm.h"
#include "ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace pyxa::test {

class TWindowFolder {
public:
    TWindowFolder()
    {
        QDir(Temp.path()).mkdir("tmp");
        qputenv("TMPDIR", Path("tmp").toUtf8());
        // Keeps the settings file of a test run out of the user's own configuration.
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
    }
    bool IsValid() const { return Temp.isValid(); }
    QString Path(const QString& name) const { return QDir(Temp.path()).filePath(name); }
    QString WriteFile(const QString& name, const QByteArray& content) const
    {
        const QString path = Path(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
        return path;
    }

private:
    QTemporaryDir Temp;
};

// Shows the form and lets its start-up run.
inline void Start(TMainForm& form)
{
    form.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

inline void AddTwoFiles(TMainForm& form, TScriptedDialogs& dialogs, const TWindowFolder& folder)
{
    dialogs.OpenAnswers.push_back(
        {folder.WriteFile("one.txt", "first file"), folder.WriteFile("two.txt", QByteArray(5000, 'x'))});
    form.AddFilesBtClick();
}

}  // namespace pyxa::test
