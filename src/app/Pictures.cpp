#include "Pictures.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QtMath>

#include <cmath>

namespace pyxa {

namespace {

constexpr int kLogSize = 16;
constexpr int kStatusSize = 12;
constexpr int kButtonSize = 16;

// A transparent square of size logical pixels, sharp on high-density screens.
QPixmap Blank(int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(size * ratio), qCeil(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void PrepareGlyph(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
}

// A filled disc with a one-character glyph, the shape of most log images.
QPixmap GlyphDisc(const QColor& fill, const QString& glyph)
{
    QPixmap pixmap = Blank(kLogSize);
    QPainter painter(&pixmap);
    PrepareGlyph(painter);
    painter.setPen(fill.darker(140));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(1, 1, kLogSize - 2, kLogSize - 2));
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kLogSize, kLogSize), Qt::AlignCenter, glyph);
    return pixmap;
}

QPixmap WarningTriangle()
{
    QPixmap pixmap = Blank(kLogSize);
    QPainter painter(&pixmap);
    PrepareGlyph(painter);
    QPainterPath triangle;
    triangle.moveTo(8, 1);
    triangle.lineTo(15, 14.5);
    triangle.lineTo(1, 14.5);
    triangle.closeSubpath();
    painter.setPen(QColor(0xB0, 0x80, 0x00));
    painter.setBrush(QColor(0xF5, 0xC2, 0x11));
    painter.drawPath(triangle);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 3, kLogSize, 12), Qt::AlignCenter, "!");
    return pixmap;
}

// A key lying diagonally: ring at the top left, bit at the bottom right.
void DrawKey(QPainter& painter, int size, const QColor& colour)
{
    const qreal unit = size / 16.0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(150), unit * 1.2));
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(5 * unit, 5 * unit), 3.6 * unit, 3.6 * unit);
    painter.setPen(QPen(colour.darker(150), unit * 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.5 * unit, 7.5 * unit), QPointF(14 * unit, 14 * unit));
    painter.drawLine(QPointF(11.5 * unit, 11.5 * unit), QPointF(13.5 * unit, 9.5 * unit));
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(4.3 * unit, 4.3 * unit), 1.1 * unit, 1.1 * unit);
}

QPixmap KeyPicture(int size, const QColor& colour)
{
    QPixmap pixmap = Blank(size);
    QPainter painter(&pixmap);
    DrawKey(painter, size, colour);
    return pixmap;
}

QPixmap PadlockPicture(int size)
{
    QPixmap pixmap = Blank(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 12.0;
    painter.setPen(QPen(QColor(0x50, 0x50, 0x50), unit * 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(3 * unit, 1 * unit, 6 * unit, 7 * unit), 0, 180 * 16);
    painter.setPen(QPen(QColor(0x80, 0x60, 0x00), unit));
    painter.setBrush(QColor(0xE8, 0xB0, 0x20));
    painter.drawRoundedRect(QRectF(1.5 * unit, 5 * unit, 9 * unit, 6.5 * unit), unit, unit);
    return pixmap;
}

QPixmap Dot(int size, const QColor& fill)
{
    QPixmap pixmap = Blank(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(fill.darker(150));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), 2, 2);
    return pixmap;
}

// A standard picture of the style with a small green plus in its corner.
QIcon WithPlus(QStyle::StandardPixmap base)
{
    QPixmap pixmap = QApplication::style()->standardIcon(base).pixmap(kButtonSize, kButtonSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2E, 0x9E, 0x3E));
    painter.drawEllipse(QRectF(8, 8, 8, 8));
    painter.setPen(QPen(Qt::white, 1.6));
    painter.drawLine(QPointF(12, 9.8), QPointF(12, 14.2));
    painter.drawLine(QPointF(9.8, 12), QPointF(14.2, 12));
    return QIcon(pixmap);
}

// A folder with a small star: a new, empty folder.
QIcon NewFolderPicture()
{
    QPixmap pixmap = QApplication::style()->standardIcon(QStyle::SP_DirIcon).pixmap(kButtonSize, kButtonSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 ? 1.7 : 4.2;
        const qreal angle = (i * 36.0 - 90.0) * 3.14159265 / 180.0;
        const QPointF point(11.5 + radius * std::cos(angle), 4.5 + radius * std::sin(angle));
        i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    painter.setPen(QPen(QColor(0xB0, 0x80, 0x00), 0.8));
    painter.setBrush(QColor(0xFF, 0xD8, 0x30));
    painter.drawPath(star);
    return QIcon(pixmap);
}

// Two arrows, up and down: moving items by hand.
QIcon RearrangePicture()
{
    QPixmap pixmap = Blank(kButtonSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3A, 0x6E, 0xC0));
    painter.drawPolygon(QPolygonF({QPointF(5, 1), QPointF(9, 6), QPointF(6.3, 6), QPointF(6.3, 14), QPointF(3.7, 14),
                                   QPointF(3.7, 6), QPointF(1, 6)}));
    painter.setBrush(QColor(0x2E, 0x9E, 0x3E));
    painter.drawPolygon(QPolygonF({QPointF(11, 15), QPointF(15, 10), QPointF(12.3, 10), QPointF(12.3, 2),
                                   QPointF(9.7, 2), QPointF(9.7, 10), QPointF(7, 10)}));
    return QIcon(pixmap);
}

QIcon ColourPicture()
{
    QPixmap pixmap = Blank(kButtonSize);
    QPainter painter(&pixmap);
    const QColor colours[] = {QColor(0xD0, 0x30, 0x30), QColor(0x30, 0xA0, 0x40), QColor(0x30, 0x60, 0xD0),
                              QColor(0xE0, 0xB0, 0x20)};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(1 + (i % 2) * 7, 1 + (i / 2) * 7, 7, 7), colours[i]);
    return QIcon(pixmap);
}

QIcon CommentsPicture()
{
    QPixmap pixmap = Blank(kButtonSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 1.5, 14, 9.5), 3, 3);
    bubble.moveTo(4, 10);
    bubble.lineTo(3.5, 14.5);
    bubble.lineTo(8, 10.5);
    painter.setPen(QColor(0x40, 0x60, 0x90));
    painter.setBrush(QColor(0xFF, 0xF6, 0xC8));
    painter.drawPath(bubble.simplified());
    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.drawLine(4, 5, 12, 5);
    painter.drawLine(4, 8, 10, 8);
    return QIcon(pixmap);
}

QIcon OptionsPicture()
{
    QPixmap pixmap = Blank(kButtonSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x45, 0x55, 0x70));
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QRectF(1.5 + i * 5, 6.5, 3.2, 3.2));
    return QIcon(pixmap);
}

QIcon WaitPicture()
{
    QPixmap pixmap = Blank(32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 8; ++i) {
        painter.save();
        painter.translate(16, 16);
        painter.rotate(i * 45.0);
        painter.setPen(QPen(QColor(0x30, 0x60, 0xB0, 60 + i * 24), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -8), QPointF(0, -13));
        painter.restore();
    }
    return QIcon(pixmap);
}

QIcon StyleIcon(QStyle::StandardPixmap base)
{
    return QApplication::style()->standardIcon(base);
}

}  // namespace

QPixmap LogImage(int index)
{
    switch (index) {
    case 0:
        return GlyphDisc(QColor(0x3A, 0x78, 0xC8), "i");
    case 1:
        return GlyphDisc(QColor(0x2E, 0x9E, 0x3E), QString(QChar(0x2713)));
    case 2:
        return WarningTriangle();
    case 3:
        return GlyphDisc(QColor(0xD0, 0x30, 0x30), QString(QChar(0x00D7)));
    case 6:
        return KeyPicture(kLogSize, QColor(0xE0, 0x70, 0x20));
    default:
        return Blank(kLogSize);
    }
}

QPixmap StatusImage(int index)
{
    switch (index) {
    case 0:
        return Dot(kStatusSize, QColor(0x6C, 0xC0, 0x70));
    case 1:
        return Dot(kStatusSize, QColor(0xF0, 0xC0, 0x30));
    case 2:
        return Dot(kStatusSize, QColor(0xE0, 0x50, 0x40));
    case 4:
        return PadlockPicture(kStatusSize);
    case 5:
        return KeyPicture(kStatusSize, QColor(0xE8, 0xB0, 0x20));
    case 6:
        return KeyPicture(kStatusSize, QColor(0xC8, 0xC8, 0xC8));
    default:
        return Blank(kStatusSize);
    }
}

QIcon ButtonIcon(TButtonPicture picture)
{
    switch (picture) {
    case TButtonPicture::CreateFolder:
        return NewFolderPicture();
    case TButtonPicture::AddFiles:
        return WithPlus(QStyle::SP_FileIcon);
    case TButtonPicture::AddFolders:
        return WithPlus(QStyle::SP_DirIcon);
    case TButtonPicture::Extract:
        return StyleIcon(QStyle::SP_ArrowDown);
    case TButtonPicture::Delete:
        return StyleIcon(QStyle::SP_TrashIcon);
    case TButtonPicture::Encrypt:
        return QIcon(KeyPicture(kButtonSize, QColor(0xE8, 0xB0, 0x20)));
    case TButtonPicture::Colour:
        return ColourPicture();
    case TButtonPicture::Comments:
        return CommentsPicture();
    case TButtonPicture::Rearrange:
        return RearrangePicture();
    case TButtonPicture::Open:
        return StyleIcon(QStyle::SP_DialogOpenButton);
    case TButtonPicture::Save:
        return StyleIcon(QStyle::SP_DialogSaveButton);
    case TButtonPicture::Options:
        return OptionsPicture();
    case TButtonPicture::About:
        return StyleIcon(QStyle::SP_MessageBoxInformation);
    case TButtonPicture::Wait:
        return WaitPicture();
    }
    return {};
}

}  // namespace pyxa
