#pragma once
// The one seam through which the window shows every dialog: message boxes, the file and folder
// choosers, the one-line input dialog and the password dialog. The window uses the Qt implementation; tests answer from a
// script.

#include "support/Host.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace pyxa {

struct TFileDialogRequest {
    QString Title;
    QString Filter;         // Qt filter text, e.g. "Pyxa files (*.pyxa)"
    QString ProposedName;   // save dialogs: the name (possibly with folder) to start from
};

class TDialogs {
public:
    virtual ~TDialogs() = default;

    // The message box: icon codes and button bits of THost::TaskMessageBox; returns 1 OK,
    // 2 Cancel, 4 Retry, 6 Yes, 7 No or 0.
    virtual int TaskMessageBox(QWidget* owner, const QString& caption, const QString& instruction,
                               const QString& content, int icon, int buttons) = 0;
    // Existing files to read; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* owner, const TFileDialogRequest& request, bool multiple) = 0;
    // The file to write (the dialog asks before overwriting); empty when cancelled.
    virtual QString SaveFile(QWidget* owner, const TFileDialogRequest& request) = 0;
    // An existing folder; empty when cancelled.
    virtual QString Folder(QWidget* owner, const QString& title) = 0;
    // A one-line text; nullopt when cancelled.
    virtual std::optional<QString> InputText(QWidget* owner, const QString& caption, const QString& prompt,
                                             const QString& preset) = 0;
    // The about box, modal.
    virtual void About(QWidget* owner) = 0;
    // The password dialog; requestCancel is called when the user cancels it.
    virtual TPasswordAnswer Password(QWidget* owner, const TPasswordRequest& request, bool extracting,
                                     const std::function<void()>& requestCancel) = 0;
};

}  // namespace pyxa
