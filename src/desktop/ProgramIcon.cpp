#include "desktop/ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include <algorithm>

namespace halvorn {
namespace {

// The icon is laid out on a 64 x 64 canvas; `unit` is one device pixel in
// canvas units, so thin lines can be kept at least a pixel wide.
constexpr double Canvas = 64.0;
const QRectF Tile(3, 3, 58, 58);
constexpr double TileRadius = 11.0;
const QRectF Sheet(-17, -19, 34, 38); // around the tile's centre, before turning
constexpr double SheetTurn = -7.0;
// The room plan's cells, and its top-left corner inside the sheet.
constexpr double PlanCell = 4.2;
constexpr double PlanMargin = 4.5;
const QColor Ink(70, 42, 20);

QPainterPath TileOutline()
{
    QPainterPath path;
    path.addRoundedRect(Tile, TileRadius, TileRadius);
    return path;
}

void PaintStone(QPainter& p, double unit, bool detailed)
{
    const QPainterPath tile = TileOutline();
    QLinearGradient stone(Tile.topLeft(), Tile.bottomLeft());
    stone.setColorAt(0, QColor(84, 72, 62));
    stone.setColorAt(1, QColor(36, 29, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(stone);
    p.drawPath(tile);

    p.save();
    p.setClipPath(tile);
    if (detailed) {
        // Mortar joints of a wall laid in courses.
        p.setPen(QPen(QColor(18, 14, 11, 170), std::max(1.2, unit)));
        constexpr double course = 12.0;
        constexpr double block = 20.0;
        for (int row = 0; row * course < Canvas; ++row) {
            const double y = 7 + row * course;
            p.drawLine(QPointF(0, y), QPointF(Canvas, y));
            for (double x = (row % 2 ? -block / 2 : 0) + 6; x < Canvas; x += block)
                p.drawLine(QPointF(x, y), QPointF(x, y + course));
        }
    }
    // The torch that lights the tile hangs off its top-left corner.
    QRadialGradient glow(QPointF(8, 6), 62);
    glow.setColorAt(0, QColor(255, 196, 96, 150));
    glow.setColorAt(0.45, QColor(232, 122, 40, 60));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(Tile);
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 15, 12), std::max(1.0, unit)));
    p.drawPath(tile);
}

QPainterPath Rooms(bool detailed)
{
    const QPointF origin = Sheet.topLeft() + QPointF(PlanMargin, PlanMargin);
    auto cells = [&](double x, double y, double w, double h) {
        return QRectF(origin.x() + x * PlanCell, origin.y() + y * PlanCell, w * PlanCell,
                      h * PlanCell);
    };
    QPainterPath floor;
    const auto add = [&](const QRectF& r) {
        QPainterPath room;
        room.addRect(r);
        floor = floor.united(room);
    };
    if (detailed) {
        for (const QRectF& r : {cells(0, 0, 3, 3), cells(3, 1, 1, 1), cells(4, 0, 1.9, 3.4),
                                cells(1, 3, 1, 1), cells(0, 4, 5.9, 2.9)})
            add(r);
    } else {
        // Two rooms and the passage between them read at 16 pixels.
        for (const QRectF& r :
             {cells(0, 0, 5.9, 2.6), cells(2, 2.6, 1.6, 1.4), cells(0, 4, 5.9, 2.9)})
            add(r);
    }
    return floor.simplified();
}

void PaintSheet(QPainter& p, double unit, bool detailed)
{
    p.save();
    p.translate(Tile.center());
    p.rotate(SheetTurn);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRect(Sheet.translated(2, 2.5));

    QLinearGradient paper(Sheet.topLeft(), Sheet.bottomRight());
    paper.setColorAt(0, QColor(250, 236, 198));
    paper.setColorAt(1, QColor(214, 180, 120));
    p.setBrush(paper);
    p.setPen(QPen(QColor(120, 82, 40), std::max(1.0, unit)));
    p.drawRect(Sheet);

    const QPainterPath floor = Rooms(detailed);
    if (detailed) {
        // The cell grid shows only on the floor, as on a drawn map.
        p.save();
        p.setClipPath(floor);
        p.setPen(QPen(QColor(150, 110, 60, 120), 0.6));
        for (double x = Sheet.left() + PlanMargin; x < Sheet.right(); x += PlanCell)
            p.drawLine(QPointF(x, Sheet.top()), QPointF(x, Sheet.bottom()));
        for (double y = Sheet.top() + PlanMargin; y < Sheet.bottom(); y += PlanCell)
            p.drawLine(QPointF(Sheet.left(), y), QPointF(Sheet.right(), y));
        p.restore();
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, std::max(detailed ? 1.8 : 1.6, 1.1 * unit), Qt::SolidLine, Qt::SquareCap,
                  Qt::MiterJoin));
    p.drawPath(floor);

    // The treasure mark in the lower room.
    const QPointF mark =
        Sheet.topLeft() + QPointF(PlanMargin + 3.5 * PlanCell, PlanMargin + 5.45 * PlanCell);
    const double arm = detailed ? 3.0 : 3.4;
    p.setPen(QPen(QColor(178, 28, 20), std::max(detailed ? 2.0 : 1.8, 1.2 * unit), Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(mark + QPointF(-arm, -arm), mark + QPointF(arm, arm));
    p.drawLine(mark + QPointF(-arm, arm), mark + QPointF(arm, -arm));
    p.restore();
}

} // namespace

QImage ProgramIcon(int size)
{
    if (size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double scale = size / Canvas;
    p.scale(scale, scale);
    const double unit = 1.0 / scale;
    const bool detailed = size >= 32;
    PaintStone(p, unit, detailed);
    PaintSheet(p, unit, detailed);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QIcon ProgramWindowIcon()
{
    QIcon icon;
    for (const int size : ProgramIconSizes) {
        if (size <= ProgramWindowIconLargest)
            icon.addPixmap(QPixmap::fromImage(ProgramIcon(size)));
    }
    return icon;
}

} // namespace halvorn
