#include "TaskMessageBox.h"

#include "support/Host.h"

namespace pyxa {

QMessageBox::Icon MessageIconFor(int iconCode)
{
    switch (iconCode) {
    case miInformation:
    case 106:
        return QMessageBox::Information;
    case miWarning:
    case 107:
        return QMessageBox::Warning;
    case miError:
    case 105:
        return QMessageBox::Critical;
    case miQuestion:
    case 104:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons MessageButtonsFor(int buttons)
{
    QMessageBox::StandardButtons result;
    if (buttons & mbYes)
        result |= QMessageBox::Yes;
    if (buttons & mbNo)
        result |= QMessageBox::No;
    if (buttons & mbOK)
        result |= QMessageBox::Ok;
    if (buttons & mbCancel)
        result |= QMessageBox::Cancel;
    if (buttons & mbRetry)
        result |= QMessageBox::Retry;
    if (result == QMessageBox::NoButton)
        result = QMessageBox::Ok;
    return result;
}

int MessageResultFor(QMessageBox::StandardButton clicked)
{
    switch (clicked) {
    case QMessageBox::Ok:
        return mrOK;
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Retry:
        return mrRetry;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrNone;
    }
}

QString LimitMessageText(const QString& text)
{
    return text.left(kMessageTextLimit);
}

void SetUpTaskMessageBox(QMessageBox& box, const QString& caption, const QString& instruction,
                         const QString& content, int icon, int buttons)
{
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(LimitMessageText(instruction));
    box.setInformativeText(LimitMessageText(content));
    box.setIcon(MessageIconFor(icon));
    box.setStandardButtons(MessageButtonsFor(buttons));
}

int ShowTaskMessageBox(QWidget* owner, const QString& caption, const QString& instruction, const QString& content,
                       int icon, int buttons)
{
    QMessageBox box(owner);
    SetUpTaskMessageBox(box, caption, instruction, content, icon, buttons);
    box.exec();
    return MessageResultFor(box.standardButton(box.clickedButton()));
}

}  // namespace pyxa
