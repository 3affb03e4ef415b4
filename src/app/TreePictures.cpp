#include "TreePictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace pyxa {

namespace {

const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperEdge(0x8A, 0x93, 0xA3);
const QColor kFolderBack(0xD9, 0xA4, 0x2E);
const QColor kFolderFront(0xF4, 0xC8, 0x5A);

// Paints on a square canvas laid out on a 16-unit grid.
class TCanvas {
public:
    explicit TCanvas(int size, qreal ratio = 1.0) : Pixmap(qCeil(size * ratio), qCeil(size * ratio))
    {
        Pixmap.setDevicePixelRatio(ratio);
        Pixmap.fill(Qt::transparent);
        Painter.begin(&Pixmap);
        Painter.setRenderHint(QPainter::Antialiasing);
        Painter.scale(size / 16.0, size / 16.0);
    }
    QPixmap Finish()
    {
        Painter.end();
        return Pixmap;
    }
    QPixmap Pixmap;
    QPainter Painter;
};

void DrawPage(QPainter& painter, const QColor& paper)
{
    QPainterPath page;
    page.moveTo(3, 0.5);
    page.lineTo(10, 0.5);
    page.lineTo(13.5, 4);
    page.lineTo(13.5, 15.5);
    page.lineTo(3, 15.5);
    page.closeSubpath();
    painter.setPen(QPen(kPaperEdge, 1));
    painter.setBrush(paper);
    painter.drawPath(page);
    QPainterPath fold;
    fold.moveTo(10, 0.5);
    fold.lineTo(10, 4);
    fold.lineTo(13.5, 4);
    painter.setBrush(QColor(0xE4, 0xE8, 0xEE));
    painter.drawPath(fold);
}

void DrawLines(QPainter& painter, int count)
{
    painter.setPen(QPen(QColor(0x9A, 0xA6, 0xB8), 1));
    for (int i = 0; i < count; ++i)
        painter.drawLine(QPointF(5, 6.5 + 2 * i), QPointF(i % 2 ? 10 : 11.5, 6.5 + 2 * i));
}

QPixmap Document(int size, const QColor& paper, int lines)
{
    TCanvas canvas(size);
    DrawPage(canvas.Painter, paper);
    DrawLines(canvas.Painter, lines);
    return canvas.Finish();
}

QPixmap Placeholder(int size)
{
    TCanvas canvas(size);
    canvas.Painter.setPen(QPen(QColor(0xB8, 0xC0, 0xCC), 1, Qt::DashLine));
    canvas.Painter.setBrush(Qt::NoBrush);
    canvas.Painter.drawRect(QRectF(3, 0.5, 10.5, 15));
    return canvas.Finish();
}

QPixmap UnknownDocument(int size)
{
    TCanvas canvas(size);
    DrawPage(canvas.Painter, QColor(0xF2, 0xF2, 0xF2));
    QFont font = canvas.Painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    canvas.Painter.setFont(font);
    canvas.Painter.setPen(QColor(0x80, 0x80, 0x80));
    canvas.Painter.drawText(QRectF(3, 4, 10.5, 11), Qt::AlignCenter, "?");
    return canvas.Finish();
}

QPixmap Folder(int size, bool open)
{
    TCanvas canvas(size);
    QPainter& painter = canvas.Painter;
    QPainterPath back;
    back.moveTo(0.5, 3);
    back.lineTo(6, 3);
    back.lineTo(7.5, 4.5);
    back.lineTo(15.5, 4.5);
    back.lineTo(15.5, 14);
    back.lineTo(0.5, 14);
    back.closeSubpath();
    painter.setPen(QPen(kFolderBack.darker(130), 1));
    painter.setBrush(kFolderBack);
    painter.drawPath(back);
    QPainterPath front;
    if (open) {
        front.moveTo(0.5, 14);
        front.lineTo(3, 7);
        front.lineTo(16, 7);
        front.lineTo(13.5, 14);
    } else {
        front.addRect(QRectF(0.5, 6.5, 15, 7.5));
    }
    front.closeSubpath();
    painter.setBrush(kFolderFront);
    painter.drawPath(front);
    return canvas.Finish();
}

QPixmap PictureDocument(int size)
{
    TCanvas canvas(size);
    QPainter& painter = canvas.Painter;
    DrawPage(painter, kPaper);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x7E, 0xC4, 0xEE));
    painter.drawRect(QRectF(4.5, 6, 7.5, 7.5));
    painter.setBrush(QColor(0x3E, 0x9A, 0x4A));
    QPainterPath hill;
    hill.moveTo(4.5, 13.5);
    hill.lineTo(7.5, 9);
    hill.lineTo(10, 13.5);
    painter.drawPath(hill);
    painter.setBrush(QColor(0xF6, 0xC8, 0x30));
    painter.drawEllipse(QPointF(10, 8), 1.3, 1.3);
    return canvas.Finish();
}

QPixmap Package(int size)
{
    TCanvas canvas(size);
    QPainter& painter = canvas.Painter;
    painter.setPen(QPen(QColor(0x8A, 0x62, 0x2E), 1));
    painter.setBrush(QColor(0xD8, 0xA8, 0x68));
    painter.drawRect(QRectF(1.5, 4.5, 13, 10.5));
    painter.setBrush(QColor(0xE8, 0xC0, 0x88));
    painter.drawRect(QRectF(0.5, 2.5, 15, 3));
    painter.setPen(QPen(QColor(0x6A, 0x4A, 0x20), 1.5));
    painter.drawLine(QPointF(8, 2.5), QPointF(8, 15));
    return canvas.Finish();
}

QPixmap Program(int size)
{
    TCanvas canvas(size);
    QPainter& painter = canvas.Painter;
    painter.setPen(QPen(QColor(0x40, 0x4C, 0x60), 1));
    painter.setBrush(QColor(0xE8, 0xEC, 0xF2));
    painter.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 1.5, 1.5);
    painter.setBrush(QColor(0x3A, 0x6E, 0xC0));
    painter.drawRect(QRectF(0.5, 1.5, 15, 3));
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    painter.drawLine(QPointF(3.5, 7.5), QPointF(6, 9.5));
    painter.drawLine(QPointF(6, 9.5), QPointF(3.5, 11.5));
    painter.drawLine(QPointF(7.5, 12), QPointF(11, 12));
    return canvas.Finish();
}

QPixmap DocumentPicture(int size)
{
    return Document(size, kPaper, 4);
}

}  // namespace

QPixmap FixedTreeImage(int index, int size)
{
    switch (index) {
    case 0:
        return Placeholder(size);
    case 1:
        return UnknownDocument(size);
    case 3:
        return Folder(size, false);
    case 4:
        return Folder(size, true);
    case 5:
        return DocumentPicture(size);
    case 6:
        return Document(size, QColor(0xFF, 0xFB, 0xE6), 5);
    case 7:
        return PictureDocument(size);
    case 8:
        return Package(size);
    case 9:
        return Program(size);
    default:
        return Document(size, kPaper, 0);
    }
}

QPixmap LogoPicture()
{
    // A closed box of folders and files: the container the program packs.
    TCanvas canvas(128, qApp ? qApp->devicePixelRatio() : 1.0);
    QPainter& painter = canvas.Painter;
    painter.drawPixmap(QRectF(4.5, 0.5, 7, 7), Folder(64, true), QRectF(0, 0, 64, 64));
    painter.drawPixmap(QRectF(7, 1.5, 6, 6), DocumentPicture(64), QRectF(0, 0, 64, 64));
    QLinearGradient side(0, 6, 0, 16);
    side.setColorAt(0, QColor(0x6E, 0x8C, 0xC8));
    side.setColorAt(1, QColor(0x34, 0x4E, 0x8A));
    painter.setPen(QPen(QColor(0x2A, 0x3E, 0x70), 0.25));
    painter.setBrush(side);
    painter.drawRoundedRect(QRectF(2, 6.5, 12, 8.5), 0.8, 0.8);
    painter.setBrush(QColor(0x86, 0xA2, 0xD8));
    painter.drawRoundedRect(QRectF(1.2, 5.5, 13.6, 2.4), 0.6, 0.6);
    QFont font = painter.font();
    font.setPixelSize(4);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(2, 8, 12, 6), Qt::AlignCenter, "PYXA");
    return canvas.Finish();
}

}  // namespace pyxa
