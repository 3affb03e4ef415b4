#pragma once
// The message box of the whole program on a QMessageBox: the instruction is the main text, the
// content the informative text; icon codes, button bits and results keep their numbers.

#include <QMessageBox>
#include <QString>

class QWidget;

namespace pyxa {

// Longest instruction or content shown; longer texts are cut.
inline constexpr int kMessageTextLimit = 2049;

QMessageBox::Icon MessageIconFor(int iconCode);
// No button bit set gives a lone OK button.
QMessageBox::StandardButtons MessageButtonsFor(int buttons);
int MessageResultFor(QMessageBox::StandardButton clicked);
QString LimitMessageText(const QString& text);

// Configures box as the message box of those parameters (without showing it).
void SetUpTaskMessageBox(QMessageBox& box, const QString& caption, const QString& instruction,
                         const QString& content, int icon, int buttons);
int ShowTaskMessageBox(QWidget* owner, const QString& caption, const QString& instruction, const QString& content,
                       int icon, int buttons);

}  // namespace pyxa
