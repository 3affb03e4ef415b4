#include "QtDialogs.h"

#include "PassForm.h"
#include "TaskMessageBox.h"

#include <QFileDialog>

namespace pyxa {

int TQtDialogs::TaskMessageBox(QWidget* owner, const QString& caption, const QString& instruction,
                               const QString& content, int icon, int buttons)
{
    return ShowTaskMessageBox(owner, caption, instruction, content, icon, buttons);
}

QStringList TQtDialogs::OpenFiles(QWidget* owner, const TFileDialogRequest& request, bool multiple)
{
    if (multiple)
        return QFileDialog::getOpenFileNames(owner, request.Title, request.ProposedName, request.Filter);
    const QString file = QFileDialog::getOpenFileName(owner, request.Title, request.ProposedName, request.Filter);
    return file.isEmpty() ? QStringList() : QStringList {file};
}

QString TQtDialogs::SaveFile(QWidget* owner, const TFileDialogRequest& request)
{
    return QFileDialog::getSaveFileName(owner, request.Title, request.ProposedName, request.Filter);
}

QString TQtDialogs::Folder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}

TPasswordAnswer TQtDialogs::Password(QWidget* owner, const TPasswordRequest& request, bool extracting,
                                     const std::function<void()>& requestCancel)
{
    TPassForm form(*this, requestCancel, owner);
    form.Prepare(request, extracting);
    form.exec();
    return form.Answer();
}

}  // namespace pyxa
