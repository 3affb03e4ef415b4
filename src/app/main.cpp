#include "FileIcons.h"
#include "MainForm.h"
#include "QtDialogs.h"
#include "support/ProductTexts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(pyxa::kProductTitle);
    pyxa::UseFallbackIconTheme();
    pyxa::TQtDialogs dialogs;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    pyxa::TMainForm form(dialogs, arguments);
    form.show();
    return QApplication::exec();
}
