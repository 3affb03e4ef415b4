#include "StatusPanels.h"

#include "Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pyxa {

TStatusImagePanel::TStatusImagePanel(QWidget* parent) : QWidget(parent)
{
    setFixedSize(16, 20);
}

void TStatusImagePanel::SetImage(int index)
{
    if (index == FImage)
        return;
    FImage = index;
    update();
}

void TStatusImagePanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(1, 4, StatusImage(FImage));
}

TWaitPanel::TWaitPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName("WaitPanel");
    setFixedSize(150, 60);
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet("#WaitPanel { background: white; border: 1px solid #A0A8B8; border-radius: 4px; }");
    setCursor(Qt::PointingHandCursor);
    auto* picture = new QLabel(this);
    picture->setPixmap(ButtonIcon(TButtonPicture::Wait).pixmap(32, 32));
    picture->setAlignment(Qt::AlignCenter);
    WaitLabel = new QLabel("click to cancel", this);
    WaitLabel->setObjectName("WaitLabel");
    WaitLabel->setAlignment(Qt::AlignCenter);
    WaitLabel->setStyleSheet("color: grey;");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(picture);
    layout->addWidget(WaitLabel);
    hide();
}

void TWaitPanel::mousePressEvent(QMouseEvent*)
{
    emit Clicked();
}

}  // namespace pyxa
