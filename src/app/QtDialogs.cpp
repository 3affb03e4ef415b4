#include "QtDialogs.h"

#include "AboutForm.h"
#include "PassForm.h"
#include "TaskMessageBox.h"

#include <QFileDialog>
#include <QInputDialog>

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

std::optional<QString> TQtDialogs::InputText(QWidget* owner, const QString& caption, const QString& prompt,
                                             const QString& preset)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(owner, caption, prompt, QLineEdit::Normal, preset, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

void TQtDialogs::About(QWidget* owner)
{
    TAboutForm form(owner);
    form.exec();
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
