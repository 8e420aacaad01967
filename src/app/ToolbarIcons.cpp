#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace halvorn {

namespace {

const QColor Ink(60, 52, 44);
const QColor Paper(250, 246, 232);

void Sheet(QPainter& p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Paper);
    p.drawPath(page);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
    // A faint map grid on the sheet.
    p.setPen(QPen(QColor(180, 160, 120), 0.8));
    for (int x = 11; x <= 22; x += 4)
        p.drawLine(QPointF(x, 13), QPointF(x, 25));
    for (int y = 13; y <= 25; y += 4)
        p.drawLine(QPointF(10, y), QPointF(23, y));
}

void Magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(QPen(Ink, 2));
    p.setBrush(QColor(210, 230, 245));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(QPen(QColor(40, 110, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (plus)
        p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

// The brush buttons' pictures are drawn in one ink, the button text colour
// of the palette they stand in, so that they show on light and dark schemes
// alike; what is secondary in them is the same ink, fainter.
QColor Faint(QColor ink, double alpha)
{
    ink.setAlphaF(alpha);
    return ink;
}

void TurnArrow(QPainter& p, bool clockwise, const QColor& ink)
{
    p.save();
    if (!clockwise) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 7, 20, 20), 200 * 16, -250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(20, 4), QPointF(29, 10), QPointF(19, 14)}));
    p.restore();
}

void MirrorArrow(QPainter& p, bool horizontal, const QColor& ink)
{
    p.save();
    if (!horizontal) {
        p.translate(32, 0);
        p.rotate(90);
    }
    p.setPen(QPen(Faint(ink, 0.6), 1, Qt::DashLine));
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(3, 16), QPointF(13, 8), QPointF(13, 24)}));
    p.setBrush(Faint(ink, 0.45));
    p.drawPolygon(QPolygonF({QPointF(29, 16), QPointF(19, 8), QPointF(19, 24)}));
    p.restore();
}

void Paint(QPainter& p, ToolbarPicture picture, const QColor& ink)
{
    switch (picture) {
    case ToolbarPicture::NewMap:
        Sheet(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 180, 40));
        p.drawEllipse(QPointF(24, 24), 5, 5);
        break;
    case ToolbarPicture::OpenMap:
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(200, 150, 70));
        p.drawRect(QRectF(3, 9, 24, 18));
        p.setBrush(QColor(235, 190, 100));
        p.drawPolygon(
            QPolygonF({QPointF(6, 14), QPointF(30, 14), QPointF(26, 27), QPointF(3, 27)}));
        break;
    case ToolbarPicture::SaveMap:
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(QColor(70, 100, 150));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(40, 60, 90));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case ToolbarPicture::PrintMap:
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(120, 120, 125));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 19, 14, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 200, 90));
        p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
        break;
    case ToolbarPicture::ZoomIn:
        Magnifier(p, true);
        break;
    case ToolbarPicture::ZoomOut:
        Magnifier(p, false);
        break;
    case ToolbarPicture::RotateLeft:
        TurnArrow(p, false, ink);
        break;
    case ToolbarPicture::RotateRight:
        TurnArrow(p, true, ink);
        break;
    case ToolbarPicture::FlipHorizontal:
        MirrorArrow(p, true, ink);
        break;
    case ToolbarPicture::FlipVertical:
        MirrorArrow(p, false, ink);
        break;
    }
}

} // namespace

QIcon PaintedToolbarIcon(ToolbarPicture picture, const QColor& ink)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        Paint(p, picture, ink);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon ToolbarIcon(const char* themeName, ToolbarPicture picture)
{
    const QString name = QLatin1String(themeName);
    return QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : PaintedToolbarIcon(picture, Ink);
}

} // namespace halvorn
