#pragma once
// The dialogs of the window, shown with Qt.

#include "Dialogs.h"

namespace pyxa {

class TQtDialogs : public TDialogs {
public:
    int TaskMessageBox(QWidget* owner, const QString& caption, const QString& instruction, const QString& content,
                       int icon, int buttons) override;
    QStringList OpenFiles(QWidget* owner, const TFileDialogRequest& request, bool multiple) override;
    QString SaveFile(QWidget* owner, const TFileDialogRequest& request) override;
    QString Folder(QWidget* owner, const QString& title) override;
    std::optional<QString> InputText(QWidget* owner, const QString& caption, const QString& prompt,
                                     const QString& preset) override;
    void About(QWidget* owner) override;
    TPasswordAnswer Password(QWidget* owner, const TPasswordRequest& request, bool extracting,
                             const std::function<void()>& requestCancel) override;
};

}  // namespace pyxa
