#include "AboutForm.h"

#include "TreePictures.h"
#include "support/ProductTexts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pyxa {

namespace {

QLabel* AddLabel(QBoxLayout* layout, const QString& text, int pointGrowth, bool bold)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(bold);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + pointGrowth);
    label->setFont(font);
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("AboutForm");
    setWindowTitle("About...");
    setFixedSize(400, 200);
    setStyleSheet("#AboutForm { background: #F8F9FC; border: 1px solid #8A93A3; }");

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 16, 16, 12);
    row->setSpacing(16);
    auto* logo = new QLabel;
    logo->setPixmap(LogoPicture().scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    logo->setAlignment(Qt::AlignTop);
    row->addWidget(logo);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    row->addLayout(texts, 1);
    AddLabel(texts, kProductName, 8, true);
    AddLabel(texts, kVersionText, 0, false);
    texts->addSpacing(10);
    AddLabel(texts, kProductInformation1, 0, false);
    AddLabel(texts, kProductInformation2, 0, false);
    texts->addStretch(1);
    auto* close = new QPushButton("Close");
    close->setObjectName("CloseBt");
    close->setToolTip("Close");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    texts->addWidget(close, 0, Qt::AlignRight);

    for (QWidget* surface : findChildren<QLabel*>())
        surface->installEventFilter(this);
    installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        FGrip = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() & Qt::LeftButton)
            move(mouse->globalPosition().toPoint() - FGrip);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pyxa
