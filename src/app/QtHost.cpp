#include "QtHost.h"

#include "Dialogs.h"
#include "LogForm.h"
#include "MainForm.h"
#include "support/ProductTexts.h"

#include <QCoreApplication>

namespace pyxa {

void TQtHost::Display(const std::string& text, const std::string& fileName, int icon, bool popupMsg, bool showLog)
{
    FForm.LogForm->Display(QString::fromStdString(text), QString::fromStdString(fileName), icon, popupMsg, showLog);
}

void TQtHost::SetStatusText(const std::string& text)
{
    FForm.SetStatusText(QString::fromStdString(text));
}

int TQtHost::TaskMessageBox(const std::string& instruction, const std::string& content, int icon, int buttons)
{
    return FForm.Dialogs.TaskMessageBox(&FForm, kProductTitle, QString::fromStdString(instruction),
                                        QString::fromStdString(content), icon, buttons);
}

TPasswordAnswer TQtHost::AskPassword(const TPasswordRequest& request)
{
    return FForm.Dialogs.Password(&FForm, request, FForm.Container.Extracting, [this] { RequestCancel(); });
}

std::string TQtHost::AskSaveTarget(const TSaveTargetRequest& request)
{
    return FForm.AskSaveTarget(QString::fromStdString(request.ProposedName)).toStdString();
}

void TQtHost::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TQtHost::SetBusy(bool busy, bool cancellable)
{
    FCancelRequested = false;
    FForm.SetBusy(busy, cancellable);
}

int TQtHost::CompareNames(const std::string& a, const std::string& b)
{
    return QString::localeAwareCompare(QString::fromStdString(a), QString::fromStdString(b));
}

void TQtHost::ModifiedChanged()
{
    FForm.ModifiedChanged();
}

void TQtHost::SelectedItemChanged()
{
    FForm.SelectedItemChanged();
}

void TQtHost::LockChanged()
{
    FForm.LockChanged();
}

void TQtHost::CatalogueClosed(bool fullReset)
{
    FCancelRequested = false;
    FForm.CatalogueClosed(fullReset);
}

void TQtHost::FileNameChanged()
{
    FForm.UpdateTitle();
}

void TQtHost::GlobalPasswordChanged()
{
    FForm.UpdateStatusImages();
}

}  // namespace pyxa
