#include "desktop/ProductArtwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace halvorn {
namespace {

// Everything is drawn on a 600 x 400 canvas and scaled to the target.
constexpr double CanvasW = 600.0;
constexpr double CanvasH = 400.0;
constexpr double Cell = 18.0;

const QColor WallDark(24, 19, 16);
const QColor Ink(74, 44, 22);

// A fixed-seed generator so the picture is the same on every run and every
// machine (the About box should not flicker between two looks).
class Jitter {
public:
    explicit Jitter(std::uint32_t seed) : state_(seed) {}
    // Uniform in [lo, hi).
    double Next(double lo, double hi)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return lo + (hi - lo) * double(state_ >> 8) / double(1u << 24);
    }

private:
    std::uint32_t state_;
};

void PaintStoneWall(QPainter& p)
{
    p.fillRect(QRectF(0, 0, CanvasW, CanvasH), WallDark);
    Jitter j(7);
    constexpr double rowH = 40.0;
    constexpr double blockW = 84.0;
    for (int row = 0; row * rowH < CanvasH; ++row) {
        const double offset = (row % 2) ? -blockW / 2 : 0.0;
        for (double x = offset; x < CanvasW; x += blockW) {
            const int shade = int(j.Next(44, 66));
            QRectF block(x + 2, row * rowH + 2, blockW - 4, rowH - 4);
            QLinearGradient g(block.topLeft(), block.bottomRight());
            g.setColorAt(0, QColor(shade + 8, shade + 2, shade - 6));
            g.setColorAt(1, QColor(shade - 14, shade - 18, shade - 22));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawRoundedRect(block, 4, 4);
        }
    }
}

void PaintTorchGlow(QPainter& p, QPointF flame)
{
    QRadialGradient glow(flame, 330);
    glow.setColorAt(0.0, QColor(255, 190, 90, 170));
    glow.setColorAt(0.35, QColor(230, 120, 40, 80));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(QRectF(0, 0, CanvasW, CanvasH));

    // The far side of the wall falls into darkness.
    QLinearGradient dusk(QPointF(CanvasW * 0.45, 0), QPointF(CanvasW, 0));
    dusk.setColorAt(0, QColor(0, 0, 0, 0));
    dusk.setColorAt(1, QColor(0, 0, 0, 120));
    p.setBrush(dusk);
    p.drawRect(QRectF(0, 0, CanvasW, CanvasH));
}

void PaintTorch(QPainter& p, QPointF flame)
{
    // Iron bracket and wooden handle.
    p.setPen(QPen(QColor(30, 28, 28), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(flame + QPointF(-14, 78), flame + QPointF(14, 78));
    QPolygonF handle;
    handle << flame + QPointF(-7, 22) << flame + QPointF(7, 22) << flame + QPointF(4, 110)
           << flame + QPointF(-4, 110);
    QLinearGradient wood(flame + QPointF(-7, 0), flame + QPointF(7, 0));
    wood.setColorAt(0, QColor(70, 40, 20));
    wood.setColorAt(0.5, QColor(120, 74, 38));
    wood.setColorAt(1, QColor(60, 34, 16));
    p.setPen(QPen(QColor(35, 20, 10), 1.2));
    p.setBrush(wood);
    p.drawPolygon(handle);
    p.setBrush(QColor(40, 36, 34));
    p.drawRoundedRect(QRectF(flame.x() - 10, flame.y() + 14, 20, 12), 3, 3);

    // Flame: an outer red-orange tongue with a bright core.
    auto tongue = [&](double w, double h) {
        QPainterPath path(flame + QPointF(0, 16));
        path.cubicTo(flame + QPointF(-w, 12), flame + QPointF(-w * 0.7, -h * 0.4),
                     flame + QPointF(0, -h));
        path.cubicTo(flame + QPointF(w * 0.9, -h * 0.45), flame + QPointF(w, 12),
                     flame + QPointF(0, 16));
        return path;
    };
    QRadialGradient fire(flame + QPointF(0, 6), 40);
    fire.setColorAt(0, QColor(255, 250, 210));
    fire.setColorAt(0.3, QColor(255, 200, 70));
    fire.setColorAt(0.7, QColor(240, 110, 30));
    fire.setColorAt(1, QColor(190, 50, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(fire);
    p.drawPath(tongue(17, 44));
    p.setBrush(QColor(255, 248, 220, 220));
    p.drawPath(tongue(6, 18).translated(0, 2));
}

QPainterPath TornSheet(const QRectF& r)
{
    Jitter j(42);
    QPolygonF edge;
    constexpr double step = 11.0;
    auto side = [&](QPointF from, QPointF to) {
        const QPointF d = to - from;
        const double len = std::hypot(d.x(), d.y());
        const QPointF normal(-d.y() / len, d.x() / len);
        for (double t = 0; t < len; t += step)
            edge << from + d * (t / len) + normal * j.Next(-3.5, 3.5);
    };
    side(r.topLeft(), r.topRight());
    side(r.topRight(), r.bottomRight());
    side(r.bottomRight(), r.bottomLeft());
    side(r.bottomLeft(), r.topLeft());
    QPainterPath path;
    path.addPolygon(edge);
    path.closeSubpath();
    return path;
}

QRectF Cells(double x, double y, double w, double h)
{
    return {x * Cell, y * Cell, w * Cell, h * Cell};
}

void PaintDungeon(QPainter& p, QPointF origin)
{
    p.save();
    p.translate(origin);

    // Rooms and the corridors between them, in grid cells.
    const std::array<QRectF, 10> floors{
        Cells(1, 1, 6, 4),  Cells(7, 2, 4, 1),  Cells(11, 0, 7, 5), Cells(18, 2, 1, 1),
        Cells(19, 1, 2, 3), Cells(3, 5, 1, 2),  Cells(1, 7, 6, 4),  Cells(7, 9, 4, 1),
        Cells(14, 5, 1, 3), Cells(11, 8, 9, 3),
    };
    QPainterPath floor;
    for (const QRectF& r : floors) {
        QPainterPath room;
        room.addRect(r);
        floor = floor.united(room);
    }
    floor = floor.simplified();

    // Hatching hugging the outside of the walls, the way hand-drawn maps
    // show solid rock.
    QPainterPathStroker stroker;
    stroker.setWidth(22);
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath rock = stroker.createStroke(floor).united(floor).subtracted(floor);
    p.save();
    p.setClipPath(rock);
    p.setPen(QPen(QColor(Ink.red(), Ink.green(), Ink.blue(), 110), 1.0));
    for (double x = -300; x < 700; x += 5)
        p.drawLine(QPointF(x, -40), QPointF(x + 300, 260));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 240, 212));
    p.drawPath(floor);

    // Grid inside the rooms only.
    p.save();
    p.setClipPath(floor);
    p.setPen(QPen(QColor(150, 110, 60, 90), 0.8));
    for (double x = 0; x <= 22 * Cell; x += Cell)
        p.drawLine(QPointF(x, 0), QPointF(x, 12 * Cell));
    for (double y = 0; y <= 12 * Cell; y += Cell)
        p.drawLine(QPointF(0, y), QPointF(22 * Cell, y));
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 3.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(floor);

    // Doors where the corridors meet the rooms.
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(QColor(176, 120, 66));
    const double dw = Cell * 0.3;
    const double dl = Cell * 0.7;
    auto vDoor = [&](double cx, double cy) {
        p.drawRect(QRectF(cx * Cell - dw / 2, cy * Cell - dl / 2, dw, dl));
    };
    auto hDoor = [&](double cx, double cy) {
        p.drawRect(QRectF(cx * Cell - dl / 2, cy * Cell - dw / 2, dl, dw));
    };
    vDoor(7, 2.5);
    vDoor(11, 2.5);
    hDoor(3.5, 5);
    hDoor(3.5, 7);
    vDoor(11, 9.5);
    hDoor(14.5, 8);
    vDoor(19, 2.5);

    // Stairs going down in the north room.
    p.setPen(QPen(Ink, 1.3));
    for (int i = 0; i < 7; ++i) {
        const double x = 15 * Cell + i * Cell * 0.4;
        p.drawLine(QPointF(x, 1 * Cell + 4), QPointF(x, 3 * Cell - 4));
    }
    // Pillars in the great hall.
    p.setBrush(QColor(120, 90, 60));
    for (double cx : {13.0, 15.5, 18.0})
        p.drawEllipse(QPointF(cx * Cell, 9.5 * Cell), 5, 5);
    // The treasure mark.
    p.setPen(QPen(QColor(168, 28, 22), 2.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF x(4 * Cell, 9 * Cell);
    p.drawLine(x + QPointF(-6, -6), x + QPointF(6, 6));
    p.drawLine(x + QPointF(-6, 6), x + QPointF(6, -6));
    p.restore();
}

void PaintCompass(QPainter& p, QPointF c)
{
    p.save();
    p.translate(c);
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 11, 11);
    for (int i = 0; i < 4; ++i) {
        QPolygonF needle;
        needle << QPointF(0, -17) << QPointF(3.5, 0) << QPointF(0, 3) << QPointF(-3.5, 0);
        p.setBrush(i == 0 ? QColor(150, 30, 20) : Ink);
        p.drawPolygon(needle);
        p.rotate(90);
    }
    p.restore();
    QFont f(QStringLiteral("Serif"));
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Ink);
    p.drawText(QRectF(c.x() - 10, c.y() - 31, 20, 12), Qt::AlignCenter, QStringLiteral("N"));
}

void PaintParchment(QPainter& p)
{
    const QRectF sheet(0, 0, 430, 240);
    p.save();
    p.translate(132, 30);
    p.rotate(-2.5);
    const QPainterPath outline = TornSheet(sheet);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(outline.translated(7, 9));

    QRadialGradient paper(sheet.center() + QPointF(-40, -20), 300);
    paper.setColorAt(0, QColor(244, 228, 186));
    paper.setColorAt(0.7, QColor(224, 196, 140));
    paper.setColorAt(1, QColor(186, 146, 88));
    p.setBrush(paper);
    p.drawPath(outline);

    p.save();
    p.setClipPath(outline);
    Jitter j(1234);
    for (int i = 0; i < 260; ++i) {
        p.setBrush(QColor(120, 80, 40, int(j.Next(10, 45))));
        p.drawEllipse(QPointF(j.Next(0, sheet.width()), j.Next(0, sheet.height())),
                      j.Next(0.4, 1.6), j.Next(0.4, 1.6));
    }
    for (QPointF stain : {QPointF(360, 60), QPointF(70, 200)}) {
        QRadialGradient g(stain, 46);
        g.setColorAt(0, QColor(150, 100, 50, 0));
        g.setColorAt(0.8, QColor(150, 100, 50, 40));
        g.setColorAt(1, QColor(150, 100, 50, 0));
        p.setBrush(g);
        p.drawEllipse(stain, 46, 46);
    }
    // Scorched, darker rim.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 8; ++i) {
        p.setPen(QPen(QColor(110, 66, 26, 22), 26 - 3 * i));
        p.drawPath(outline);
    }
    p.restore();

    PaintDungeon(p, QPointF(16, 16));
    PaintCompass(p, QPointF(404, 206));
    p.restore();
}

void PaintTitle(QPainter& p)
{
    QLinearGradient band(QPointF(0, 286), QPointF(0, CanvasH));
    band.setColorAt(0, QColor(0, 0, 0, 0));
    band.setColorAt(0.35, QColor(0, 0, 0, 150));
    band.setColorAt(1, QColor(0, 0, 0, 190));
    p.fillRect(QRectF(0, 286, CanvasW, CanvasH - 286), band);

    QFont title(QStringLiteral("Serif"));
    title.setStyleHint(QFont::Serif);
    title.setPixelSize(56);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    const QString name = QStringLiteral("Halvorn III");
    const QRectF titleBox(0, 292, CanvasW, 66);

    QPainterPath text;
    {
        const QFontMetricsF fm(title);
        const double w = fm.horizontalAdvance(name);
        text.addText(QPointF((CanvasW - w) / 2, titleBox.top() + fm.ascent()), title, name);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawPath(text.translated(2.5, 3));
    QLinearGradient gold(QPointF(0, titleBox.top() + 8), QPointF(0, titleBox.bottom() - 6));
    gold.setColorAt(0, QColor(255, 240, 180));
    gold.setColorAt(0.55, QColor(226, 170, 70));
    gold.setColorAt(1, QColor(160, 96, 30));
    p.setPen(QPen(QColor(60, 30, 10), 1.2));
    p.setBrush(gold);
    p.drawPath(text);

    QFont edition(QStringLiteral("Serif"));
    edition.setStyleHint(QFont::Serif);
    edition.setPixelSize(21);
    edition.setItalic(true);
    edition.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(edition);
    p.setPen(QColor(240, 214, 160));
    const QString subtitle = QStringLiteral("Tallow Edition");
    p.drawText(QRectF(0, 356, CanvasW, 30), Qt::AlignCenter, subtitle);

    // Thin rules either side of the edition line, clear of its letters.
    const double half = QFontMetricsF(edition).horizontalAdvance(subtitle) / 2 + 14;
    p.setPen(QPen(QColor(200, 150, 80, 200), 1.0));
    p.drawLine(QPointF(CanvasW / 2 - half - 60, 371), QPointF(CanvasW / 2 - half, 371));
    p.drawLine(QPointF(CanvasW / 2 + half, 371), QPointF(CanvasW / 2 + half + 60, 371));
}

} // namespace

void PaintProductArtwork(QPainter& painter, const QRectF& target)
{
    if (target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(target, WallDark);
    const double scale = std::min(target.width() / CanvasW, target.height() / CanvasH);
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-CanvasW / 2, -CanvasH / 2);
    painter.setClipRect(QRectF(0, 0, CanvasW, CanvasH));

    const QPointF flame(62, 96);
    PaintStoneWall(painter);
    PaintTorchGlow(painter, flame);
    PaintParchment(painter);
    PaintTorch(painter, flame);
    PaintTitle(painter);
    painter.restore();
}

QImage ProductArtwork(QSize size)
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(WallDark);
    QPainter painter(&image);
    PaintProductArtwork(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace halvorn
