#pragma once
// The password dialog: mode 1 asks a new password twice, mode 2 an existing one once.

#include "support/Host.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pyxa {

class TDialogs;

class TPassForm : public QDialog {
    Q_OBJECT
public:
    // requestCancel is the main window's cancel request, set when the user cancels.
    TPassForm(TDialogs& dialogs, std::function<void()> requestCancel, QWidget* parent = nullptr);

    // Applies the caller's request; extracting gives the initial state of the automatic box.
    void Prepare(const TPasswordRequest& request, bool extracting);
    TPasswordAnswer Answer() const;

    void ConfirmBtClick();
    void CancelBtClick();

    int Mode = 0;
    bool ShowAutoPass = false;
    bool Result = false;
    QString Password;

    QLabel* MainLabel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QCheckBox* AutomaticCheck = nullptr;
    QPushButton* ConfirmBt = nullptr;
    QPushButton* CancelBt = nullptr;

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void EditChange();
    void EnterPressed(QLineEdit* edit);

    TDialogs& FDialogs;
    std::function<void()> FRequestCancel;
    bool FAutomaticChecked = false;
};

}  // namespace pyxa
