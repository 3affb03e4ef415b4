#include "PassForm.h"

#include "Dialogs.h"
#include "Pictures.h"
#include "support/ProductTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pyxa {

namespace {

QLineEdit* CreatePasswordEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace

TPassForm::TPassForm(TDialogs& dialogs, std::function<void()> requestCancel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      FDialogs(dialogs), FRequestCancel(std::move(requestCancel))
{
    setWindowTitle("Password");
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(LogImage(6).scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignTop);
    MainLabel = new QLabel(this);
    MainLabel->setWordWrap(true);
    MainLabel->setAlignment(Qt::AlignCenter);
    MainLabel->setMinimumHeight(40);

    Label1 = new QLabel("Enter password", this);
    Label2 = new QLabel("Confirm password", this);
    Edit1 = CreatePasswordEdit(this, "Edit1");
    Edit2 = CreatePasswordEdit(this, "Edit2");
    AutomaticCheck = new QCheckBox("Use this password for all files", this);
    AutomaticCheck->setToolTip("Set automatic password");
    ConfirmBt = new QPushButton("Confirm", this);
    CancelBt = new QPushButton("Cancel", this);
    ConfirmBt->setAutoDefault(false);
    CancelBt->setAutoDefault(false);
    ConfirmBt->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(MainLabel, 1);
    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ConfirmBt);
    buttons->addWidget(CancelBt);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addWidget(AutomaticCheck);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(300);
    MainLabel->setFixedWidth(260);

    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &TPassForm::EditChange);
    }
    connect(AutomaticCheck, &QCheckBox::clicked, Edit1, [this] { Edit1->setFocus(); });
    connect(ConfirmBt, &QPushButton::clicked, this, &TPassForm::ConfirmBtClick);
    connect(CancelBt, &QPushButton::clicked, this, &TPassForm::CancelBtClick);
}

void TPassForm::Prepare(const TPasswordRequest& request, bool extracting)
{
    Mode = request.Mode;
    ShowAutoPass = request.ShowAutomatic;
    MainLabel->setText(QString::fromStdString(request.Label));
    FAutomaticChecked = extracting || request.AutomaticChecked;
}

TPasswordAnswer TPassForm::Answer() const
{
    TPasswordAnswer answer;
    answer.Accepted = Result;
    answer.Password = Password.toStdString();
    answer.Automatic = Result && ShowAutoPass && AutomaticCheck->isChecked();
    return answer;
}

void TPassForm::ConfirmBtClick()
{
    if (Mode == 1 && Edit1->text() != Edit2->text()) {
        FDialogs.TaskMessageBox(this, kProductTitle, "Password mismatch", "Please enter both passwords again...", 107,
                                4);
        Edit1->clear();
        Edit2->clear();
        Edit1->setFocus();
        return;
    }
    Password = Edit1->text();
    Result = true;
    accept();
}

void TPassForm::CancelBtClick()
{
    Password.clear();
    Result = false;
    if (FRequestCancel)
        FRequestCancel();
    QDialog::reject();
}

void TPassForm::reject()
{
    CancelBtClick();
}

bool TPassForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EnterPressed(static_cast<QLineEdit*>(watched));
        return true;
    }
    if (key == Qt::Key_Escape) {
        CancelBtClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPassForm::showEvent(QShowEvent* event)
{
    const bool twoFields = Mode == 1;
    Label2->setVisible(twoFields);
    Edit2->setVisible(twoFields);
    AutomaticCheck->setVisible(ShowAutoPass);
    AutomaticCheck->setChecked(ShowAutoPass && FAutomaticChecked);
    EditChange();
    Edit1->setFocus();
    QDialog::showEvent(event);
}

void TPassForm::hideEvent(QHideEvent* event)
{
    Edit1->clear();
    Edit2->clear();
    QDialog::hideEvent(event);
}

void TPassForm::EditChange()
{
    const bool first = !Edit1->text().isEmpty();
    ConfirmBt->setEnabled(Mode == 1 ? first && !Edit2->text().isEmpty() : first);
}

void TPassForm::EnterPressed(QLineEdit* edit)
{
    if (Mode == 1) {
        if (!Edit1->text().isEmpty() && !Edit2->text().isEmpty())
            ConfirmBtClick();
        else
            (edit == Edit1 ? Edit2 : Edit1)->setFocus();
        return;
    }
    if (!Edit1->text().isEmpty())
        ConfirmBtClick();
}

}  // namespace pyxa
