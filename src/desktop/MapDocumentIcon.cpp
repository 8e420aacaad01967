#include "desktop/MapDocumentIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace halvorn {
namespace {

// The icon is laid out on a 64 x 64 canvas.
constexpr double Canvas = 64.0;
constexpr double Left = 10, Top = 4, Right = 54, Bottom = 60, Fold = 14;
// The room plan's grid: 7 x 8 cells from (GridX, GridY).
constexpr double GridCell = 4.5, GridX = Left + 6.25, GridY = Top + 16;

const QColor Ink(70, 42, 20);

QPainterPath SheetOutline()
{
    QPainterPath sheet(QPointF(Left, Top));
    sheet.lineTo(Right - Fold, Top);
    sheet.lineTo(Right, Top + Fold);
    sheet.lineTo(Right, Bottom);
    sheet.lineTo(Left, Bottom);
    sheet.closeSubpath();
    return sheet;
}

void PaintRooms(QPainter& p)
{
    auto cells = [](double x, double y, double w, double h) {
        return QRectF(GridX + x * GridCell, GridY + y * GridCell, w * GridCell, h * GridCell);
    };
    QPainterPath floor;
    for (const QRectF& r : {cells(0, 0, 3, 3), cells(3, 1, 2, 1), cells(5, 0, 2, 4),
                            cells(1, 3, 1, 2), cells(0, 5, 5, 3)}) {
        QPainterPath room;
        room.addRect(r);
        floor = floor.united(room);
    }
    floor = floor.simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(252, 244, 222));
    p.drawPath(floor);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(floor);

    // The treasure mark, in the lower room.
    p.setPen(QPen(QColor(170, 30, 24), 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF x = cells(3.5, 6.5, 0, 0).topLeft();
    p.drawLine(x + QPointF(-2.5, -2.5), x + QPointF(2.5, 2.5));
    p.drawLine(x + QPointF(-2.5, 2.5), x + QPointF(2.5, -2.5));
}

} // namespace

void PaintMapDocumentIcon(QPainter& p, const QRectF& box)
{
    const double side = std::min(box.width(), box.height());
    if (side <= 0)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.center());
    p.scale(side / Canvas, side / Canvas);
    p.translate(-Canvas / 2, -Canvas / 2);

    const QPainterPath sheet = SheetOutline();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(sheet.translated(1.5, 1.5));

    QLinearGradient paper(QPointF(Left, Top), QPointF(Right, Bottom));
    paper.setColorAt(0, QColor(246, 230, 190));
    paper.setColorAt(1, QColor(212, 178, 118));
    p.setBrush(paper);
    p.setPen(QPen(QColor(120, 82, 40), 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(sheet);

    // Faint grid over the whole sheet.
    p.save();
    p.setClipPath(sheet);
    p.setPen(QPen(QColor(150, 110, 60, 110), 0.6));
    for (double x = GridX - GridCell; x < Right; x += GridCell)
        p.drawLine(QPointF(x, GridY - 2), QPointF(x, Bottom - 2));
    for (double y = GridY; y < Bottom - 1; y += GridCell)
        p.drawLine(QPointF(Left + 2, y), QPointF(Right - 2, y));
    p.restore();

    PaintRooms(p);

    // Title strip, as on the top of a drawn map.
    p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(Left + 6, Top + 8), QPointF(Right - Fold - 4, Top + 8));

    // The dog-ear.
    QPainterPath ear(QPointF(Right - Fold, Top));
    ear.lineTo(Right - Fold, Top + Fold);
    ear.lineTo(Right, Top + Fold);
    ear.closeSubpath();
    p.setBrush(QColor(190, 150, 92));
    p.setPen(QPen(QColor(120, 82, 40), 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(ear);
    p.restore();
}

QImage MapDocumentIcon(int size)
{
    if (size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintMapDocumentIcon(painter, QRectF(0, 0, size, size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace halvorn
