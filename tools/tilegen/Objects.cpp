// Objects seen from straight above on transparent backgrounds. One style for
// all: light from the top left, a soft shadow to the bottom right, textured
// fills and a dark outline, so pieces read at full size and as silhouettes
// when the map is zoomed out. Nothing touches the picture corners.
#include "PaintKit.h"
#include "Tileset.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace tileset {
using namespace kit;

namespace {

constexpr double Pi = std::numbers::pi;

const QColor Oak(150, 102, 58);
const QColor DarkWood(96, 60, 34);
const QColor Iron(80, 84, 92);
const QColor Stone(142, 138, 130);
const QColor Gold(214, 172, 72);
const QColor Crimson(150, 32, 36);

QPainterPath rounded(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath circle(QPointF c, double r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    path.closeSubpath();
    return path;
}

void seams(QPainter& p, const QPainterPath& clip, const QRectF& r, int pieces, bool alongX,
           const QColor& base)
{
    p.save();
    p.setClipPath(clip);
    p.setPen(QPen(shade(base, 0.45), 1.0));
    for (int i = 1; i < pieces; ++i) {
        if (alongX) {
            const double y = r.top() + r.height() * i / pieces;
            p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        } else {
            const double x = r.left() + r.width() * i / pieces;
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        }
    }
    p.restore();
}

void woodPanel(QPainter& p, const QRectF& r, const QColor& base, bool alongX, int planks,
               std::uint32_t seed, double radius = 2.5, bool shadow = true)
{
    const QPainterPath shape = rounded(r, radius);
    if (shadow)
        dropShadow(p, shape);
    shadedFill(p, shape, woodBrush(base, alongX, seed), base);
    seams(p, shape, r, planks, alongX, base);
}

void rivet(QPainter& p, QPointF at, double r = 1.4)
{
    QRadialGradient g(at - QPointF(r * 0.4, r * 0.4), r * 1.4);
    g.setColorAt(0, QColor(210, 212, 215));
    g.setColorAt(1, QColor(60, 62, 68));
    p.setPen(QPen(QColor(30, 30, 34), 0.5));
    p.setBrush(g);
    p.drawEllipse(at, r, r);
}

void metalFill(QPainter& p, const QPainterPath& shape, const QColor& base, double outline = 1.2)
{
    const QRectF r = shape.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, shade(base, 1.45));
    g.setColorAt(0.5, base);
    g.setColorAt(1, shade(base, 0.55));
    shadedFill(p, shape, g, base, outline, 0.6);
}

// ---- furniture ---------------------------------------------------------------

void table(QPainter& p, std::uint32_t seed)
{
    const QRectF top(5, 5, 96, 58);
    woodPanel(p, top, Oak, true, 3, seed, 3);
    p.setPen(QPen(QColor(60, 35, 15, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(top.adjusted(3.5, 3.5, -3.5, -3.5), 2, 2);
}

void roundTable(QPainter& p, std::uint32_t seed)
{
    const QPainterPath top = circle({35, 35}, 30);
    dropShadow(p, top);
    shadedFill(p, top, woodBrush(Oak, true, seed), Oak);
    seams(p, top, QRectF(5, 5, 60, 60), 4, true, Oak);
    p.setPen(QPen(QColor(60, 35, 15, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(35, 35), 26.5, 26.5);
}

void chair(QPainter& p, std::uint32_t seed)
{
    const QPainterPath seat = rounded(QRectF(8, 10, 20, 19), 2);
    dropShadow(p, seat, {1.5, 2});
    shadedFill(p, seat, woodBrush(Oak, false, seed), Oak);
    seams(p, seat, QRectF(8, 10, 20, 19), 3, false, Oak);
    const QPainterPath back = rounded(QRectF(6, 4, 24, 7), 2.5);
    dropShadow(p, back, {1.5, 2});
    shadedFill(p, back, woodBrush(DarkWood, true, seed + 1), DarkWood);
}

void stool(QPainter& p, std::uint32_t seed)
{
    const QPainterPath top = circle({17.5, 17.5}, 11);
    dropShadow(p, top, {1.5, 2});
    shadedFill(p, top, woodBrush(Oak, true, seed), Oak);
    p.setPen(QPen(QColor(60, 35, 15, 80), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(17.5, 17.5), 8, 8);
}

void bench(QPainter& p, std::uint32_t seed)
{
    woodPanel(p, QRectF(4, 9, 99, 17), Oak, true, 2, seed, 2);
}

void bed(QPainter& p, std::uint32_t seed)
{
    const QRectF frame(5, 4, 61, 98);
    woodPanel(p, frame, DarkWood, false, 1, seed, 3);
    // Mattress under the covers, then pillow and blanket.
    const QPainterPath sheet = rounded(QRectF(9, 14, 53, 84), 3);
    shadedFill(p, sheet, QColor(226, 220, 204), QColor(180, 170, 150), 0.8, 0.6);
    const QPainterPath pillow = rounded(QRectF(14, 17, 43, 15), 6);
    shadedFill(p, pillow, QColor(244, 240, 230), QColor(170, 160, 140), 0.9);
    const QRectF blanketRect(8, 38, 55, 61);
    const QPainterPath blanket = rounded(blanketRect, 3);
    QLinearGradient cloth(blanketRect.topLeft(), blanketRect.topRight());
    cloth.setColorAt(0, shade(Crimson, 1.15));
    cloth.setColorAt(0.5, Crimson);
    cloth.setColorAt(1, shade(Crimson, 0.75));
    shadedFill(p, blanket, cloth, Crimson);
    p.save();
    p.setClipPath(blanket);
    p.fillRect(QRectF(8, 38, 55, 8), QColor(236, 226, 205));
    p.setPen(QPen(QColor(224, 180, 80, 160), 1.2));
    for (double y : {54.0, 84.0})
        p.drawLine(QPointF(8, y), QPointF(63, y));
    p.setPen(QPen(QColor(0, 0, 0, 50), 1.0));
    p.drawLine(QPointF(8, 46), QPointF(63, 46));
    p.restore();
    p.setPen(QPen(shade(DarkWood, 0.4), 1.0));
    p.setBrush(woodBrush(DarkWood, true, seed + 1));
    p.drawRoundedRect(QRectF(5, 4, 61, 9), 2.5, 2.5);
}

void chest(QPainter& p, std::uint32_t seed)
{
    const QRectF lid(6, 8, 60, 38);
    woodPanel(p, lid, Oak, true, 3, seed, 3);
    const QPainterPath shape = rounded(lid, 3);
    p.save();
    p.setClipPath(shape);
    for (double x : {15.0, 52.0}) {
        const QPainterPath band = rounded(QRectF(x, 7, 5, 40), 0.5);
        metalFill(p, band, Iron, 0.8);
        rivet(p, {x + 2.5, 12}, 1.0);
        rivet(p, {x + 2.5, 41}, 1.0);
    }
    p.restore();
    p.setPen(QPen(shade(Oak, 0.38), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    const QPainterPath lock = rounded(QRectF(32, 39, 8, 9), 1.5);
    metalFill(p, lock, Gold, 0.9);
    p.fillRect(QRectF(35.3, 42, 1.4, 3), QColor(40, 30, 10));
}

void barrel(QPainter& p, std::uint32_t seed)
{
    const QPointF c(26.5, 26.5);
    const QPainterPath body = circle(c, 23);
    dropShadow(p, body);
    shadedFill(p, body, woodBrush(DarkWood, false, seed + 3), DarkWood);
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(shade(DarkWood, 0.5), 0.9));
    for (int i = 0; i < 16; ++i) {
        const double a = i * 2 * Pi / 16;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 18,
                   c + QPointF(std::cos(a), std::sin(a)) * 23);
    }
    p.restore();
    const QPainterPath lid = circle(c, 18);
    shadedFill(p, lid, woodBrush(Oak, false, seed), Oak, 1.0);
    seams(p, lid, QRectF(8.5, 8.5, 36, 36), 5, false, Oak);
    p.setPen(QPen(QColor(70, 72, 78), 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 21.8, 21.8);
    p.setPen(QPen(QColor(150, 152, 160, 160), 0.8));
    p.drawArc(QRectF(c.x() - 21.8, c.y() - 21.8, 43.6, 43.6), 90 * 16, 90 * 16);
    p.setPen(QPen(QColor(40, 25, 12), 0.8));
    p.setBrush(QColor(55, 35, 18));
    p.drawEllipse(QPointF(c.x() + 7, c.y() + 4), 2.2, 2.2);
}

void crate(QPainter& p, std::uint32_t seed)
{
    const QRectF r(5, 5, 44, 44);
    const QColor pine(176, 132, 80);
    woodPanel(p, r, pine, true, 4, seed, 1.5);
    const QPainterPath shape = rounded(r, 1.5);
    p.save();
    p.setClipPath(shape);
    p.translate(27, 27);
    p.rotate(-45);
    const QPainterPath brace = rounded(QRectF(-33, -4, 66, 8), 1);
    shadedFill(p, brace, woodBrush(shade(pine, 0.92), true, seed + 1), pine, 0.9, 0.5);
    p.restore();
    p.save();
    p.setClipPath(shape);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const QRectF frame = r.adjusted(2.5 + 4 * i, 2.5 + 4 * i, -2.5 - 4 * i, -2.5 - 4 * i);
        p.setPen(QPen(i == 0 ? shade(pine, 0.8) : shade(pine, 0.45), i == 0 ? 5.0 : 1.0));
        p.drawRect(frame);
    }
    p.restore();
    p.setPen(QPen(shade(pine, 0.38), 1.2));
    p.drawPath(shape);
    for (double x : {8.5, 45.5})
        for (double y : {8.5, 45.5})
            rivet(p, {x, y}, 0.9);
}

void bookshelf(QPainter& p, std::uint32_t seed)
{
    const QRectF frame(2, 4, 100, 26);
    woodPanel(p, frame, DarkWood, true, 1, seed, 2);
    const QRectF cavity(5, 7, 94, 17);
    p.fillRect(cavity, QColor(35, 22, 12));
    static constexpr std::array<QRgb, 7> bindings{0xff7a2a26, 0xff2d4f3a, 0xff2c3f6b, 0xff6b4a22,
                                                  0xff8c6b2e, 0xff4a2d52, 0xff5a1e1e};
    Rng rng(seed);
    double x = cavity.left() + 0.5;
    while (x < cavity.right() - 3) {
        const double w = std::min(rng.range(3.0, 6.5), cavity.right() - x - 0.5);
        const double depth = rng.range(11.0, 16.0);
        const QRectF book(x, cavity.bottom() - depth, w, depth);
        const QColor c = QColor::fromRgba(bindings[std::size_t(rng.below(int(bindings.size())))]);
        QLinearGradient g(book.topLeft(), book.topRight());
        g.setColorAt(0, shade(c, 1.3));
        g.setColorAt(1, shade(c, 0.7));
        p.setPen(QPen(QColor(20, 12, 8), 0.5));
        p.setBrush(g);
        p.drawRect(book);
        p.fillRect(QRectF(x + 0.6, cavity.bottom() - depth + 0.8, w - 1.2, 1.2),
                   QColor(235, 225, 200, 170));
        x += w + (rng.unit() < 0.15 ? 2.5 : 0.3);
    }
    p.setPen(QPen(shade(DarkWood, 0.38), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cavity);
}

void throne(QPainter& p, std::uint32_t seed)
{
    const QPainterPath whole = rounded(QRectF(9, 4, 54, 56), 4);
    dropShadow(p, whole, {2.5, 3});
    for (double x : {9.0, 52.0})
        woodPanel(p, QRectF(x, 14, 11, 44), DarkWood, false, 1, seed + int(x), 3, false);
    const QPainterPath seat = rounded(QRectF(19, 16, 34, 40), 3);
    QRadialGradient velvet(QPointF(30, 30), 32);
    velvet.setColorAt(0, shade(Crimson, 1.25));
    velvet.setColorAt(1, shade(Crimson, 0.6));
    shadedFill(p, seat, velvet, Crimson);
    p.setPen(QPen(Gold, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(21.5, 18.5, 29, 35), 2, 2);
    const QPainterPath back =
        polygon({{9, 8}, {22, 4}, {36, 2.5}, {50, 4}, {63, 8}, {63, 17}, {9, 17}});
    shadedFill(p, back, woodBrush(DarkWood, true, seed), DarkWood);
    p.setPen(QPen(Gold, 1.4));
    p.drawLine(QPointF(12, 15), QPointF(60, 15));
    for (double x : {20.0, 36.0, 52.0}) {
        p.setPen(QPen(QColor(40, 10, 10), 0.6));
        p.setBrush(x == 36.0 ? QColor(60, 140, 200) : QColor(200, 40, 60));
        p.drawEllipse(QPointF(x, 9.5), 2.0, 2.0);
    }
}

void rug(QPainter& p, std::uint32_t seed)
{
    const QRectF r(8, 5, 128, 62);
    p.setPen(QPen(QColor(220, 205, 170), 1.0));
    for (double y = r.top() + 2; y < r.bottom() - 1; y += 3) {
        p.drawLine(QPointF(3.5, y), QPointF(r.left(), y));
        p.drawLine(QPointF(r.right(), y), QPointF(140.5, y));
    }
    const QPainterPath shape = rounded(r, 1.5);
    shadedFill(p, shape, QColor(130, 28, 32), QColor(120, 25, 30), 1.0, 0.5);
    p.save();
    p.setClipPath(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 36, 80));
    QPainterPath border = rounded(r, 1.5);
    border.addRect(r.adjusted(7, 7, -7, -7));
    border.setFillRule(Qt::OddEvenFill);
    p.drawPath(border);
    p.setPen(QPen(Gold, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(2.5, 2.5, -2.5, -2.5));
    p.drawRect(r.adjusted(7, 7, -7, -7));
    // Little gold diamonds along the border band.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 172, 72, 200));
    for (double x = r.left() + 10; x < r.right() - 6; x += 8)
        for (double y : {r.top() + 4.75, r.bottom() - 4.75})
            p.drawPath(regularPolygon({x, y}, 1.8, 4));
    const QPointF c = r.center();
    p.setBrush(QColor(28, 36, 80));
    p.setPen(QPen(Gold, 1.2));
    p.drawPath(polygon(
        {{c.x() - 34, c.y()}, {c.x(), c.y() - 20}, {c.x() + 34, c.y()}, {c.x(), c.y() + 20}}));
    p.setBrush(QColor(190, 120, 50));
    p.drawPath(polygon(
        {{c.x() - 16, c.y()}, {c.x(), c.y() - 10}, {c.x() + 16, c.y()}, {c.x(), c.y() + 10}}));
    p.setBrush(Gold);
    p.drawEllipse(c, 3, 3);
    for (double dx : {-48.0, 48.0})
        p.drawPath(regularPolygon({c.x() + dx, c.y()}, 6, 4));
    p.restore();
    Q_UNUSED(seed);
}

// ---- doors, stairs, floor openings ----------------------------------------------

void doorFrame(QPainter& p, std::uint32_t seed)
{
    for (double x : {3.0, 57.0}) {
        const QPainterPath jamb = rounded(QRectF(x, 6, 12, 23), 1.5);
        dropShadow(p, jamb, {1.5, 2});
        shadedFill(p, jamb, stoneBrush(Stone, seed + int(x)), Stone);
    }
}

void woodenDoor(QPainter& p, std::uint32_t seed)
{
    doorFrame(p, seed);
    const QRectF slab(15, 12, 42, 11);
    woodPanel(p, slab, Oak, false, 5, seed, 1);
    for (double x : {21.0, 49.0})
        metalFill(p, rounded(QRectF(x, 11.5, 3, 12), 0.5), Iron, 0.6);
    rivet(p, {36, 26}, 1.6);
}

void ironDoor(QPainter& p, std::uint32_t seed)
{
    doorFrame(p, seed);
    const QPainterPath slab = rounded(QRectF(15, 12, 42, 11), 1);
    dropShadow(p, slab, {1.5, 2});
    metalFill(p, slab, Iron);
    for (double x = 19; x < 56; x += 6)
        for (double y : {14.8, 20.2})
            rivet(p, {x, y}, 0.9);
    p.setPen(QPen(QColor(30, 30, 35), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 26), QPointF(40, 26));
}

void stairs(QPainter& p, std::uint32_t seed)
{
    const QRectF flight(3, 3, 62, 100);
    const QPainterPath outline = rounded(flight, 2);
    dropShadow(p, outline);
    p.fillPath(outline, QColor(20, 18, 16));
    // Steps grow darker as they descend away from the top.
    const int steps = 8;
    const double h = (flight.height() - 4) / steps;
    for (int i = 0; i < steps; ++i) {
        const QRectF step(12, flight.top() + 2 + i * h, 44, h - 1.2);
        const double depth = 1.0 - 0.075 * i;
        const QColor c = shade(Stone, depth);
        const QPainterPath s = rounded(step, 0.8);
        shadedFill(p, s, stoneBrush(c, seed + std::uint32_t(i)), c, 0.8, 0.5);
        p.fillRect(QRectF(step.left(), step.top(), step.width(), 1.6),
                   QColor(255, 255, 255, int(70 * depth)));
    }
    for (double x : {3.0, 56.0}) {
        const QPainterPath wall = rounded(QRectF(x, 3, 9, 100), 2);
        shadedFill(p, wall, stoneBrush(shade(Stone, 0.9), seed + 20 + int(x)), Stone);
    }
}

void trapdoor(QPainter& p, std::uint32_t seed)
{
    const QPainterPath frame = rounded(QRectF(6, 6, 59, 59), 2);
    dropShadow(p, frame);
    shadedFill(p, frame, stoneBrush(shade(Stone, 0.8), seed), Stone);
    woodPanel(p, QRectF(11, 11, 49, 49), Oak, false, 5, seed + 1, 1.5, false);
    for (double y : {18.0, 50.0}) {
        metalFill(p, rounded(QRectF(10, y, 51, 4), 0.6), Iron, 0.7);
        rivet(p, {14, y + 2}, 0.9);
        rivet(p, {57, y + 2}, 0.9);
    }
    p.setPen(QPen(QColor(50, 52, 58), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(35.5, 38), 5, 5);
    p.setPen(QPen(QColor(170, 172, 178, 160), 0.8));
    p.drawArc(QRectF(30.5, 33, 10, 10), 90 * 16, 90 * 16);
}

// ---- stone pieces ---------------------------------------------------------------

void column(QPainter& p, std::uint32_t seed)
{
    const QPainterPath plinth = rounded(QRectF(5, 5, 43, 43), 2);
    dropShadow(p, plinth);
    shadedFill(p, plinth, stoneBrush(shade(Stone, 0.9), seed), Stone);
    const QPointF c(26.5, 26.5);
    const QPainterPath shaft = circle(c, 18);
    dropShadow(p, shaft, {2, 2});
    QRadialGradient g(c - QPointF(6, 6), 26);
    g.setColorAt(0, QColor(228, 224, 214));
    g.setColorAt(1, QColor(120, 116, 108));
    shadedFill(p, shaft, g, Stone, 1.2, 0.3);
    p.setPen(QPen(QColor(90, 86, 80, 130), 0.9));
    for (int i = 0; i < 16; ++i) {
        const double a = i * 2 * Pi / 16;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 12.5,
                   c + QPointF(std::cos(a), std::sin(a)) * 17.3);
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 12, 12);
}

void statue(QPainter& p, std::uint32_t seed)
{
    const QPointF c(35.5, 35.5);
    const QPainterPath plinth = regularPolygon(c, 32, 8, 22.5);
    dropShadow(p, plinth);
    const QColor base = shade(Stone, 0.75);
    shadedFill(p, plinth, stoneBrush(base, seed), base);
    p.setPen(QPen(QColor(255, 255, 255, 50), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(regularPolygon(c, 27, 8, 22.5));
    // A winged figure: from above the spread wings are what reads.
    const QColor marble(222, 218, 206);
    for (int side : {-1, 1}) {
        QPainterPath wing;
        wing.moveTo(c.x() + side * 6, 30);
        wing.cubicTo(c.x() + side * 16, 18, c.x() + side * 28, 20, c.x() + side * 30, 26);
        wing.cubicTo(c.x() + side * 27, 34, c.x() + side * 22, 42, c.x() + side * 12, 48);
        wing.cubicTo(c.x() + side * 9, 42, c.x() + side * 7, 38, c.x() + side * 6, 30);
        dropShadow(p, wing, {2, 2.5});
        QLinearGradient g(QPointF(c.x() + side * 6, 24), QPointF(c.x() + side * 30, 44));
        g.setColorAt(0, side < 0 ? shade(marble, 1.2) : marble);
        g.setColorAt(1, shade(marble, side < 0 ? 0.8 : 0.65));
        shadedFill(p, wing, g, QColor(120, 115, 105), 1.0, 0.5);
        p.setPen(QPen(QColor(120, 115, 105, 170), 0.8));
        for (int f = 0; f < 4; ++f) {
            const double t = 0.25 + f * 0.18;
            p.drawLine(QPointF(c.x() + side * 8, 33 + f * 3),
                       QPointF(c.x() + side * (12 + 17 * (1 - t)), 26 + f * 6.5));
        }
    }
    const QPainterPath robe = rounded(QRectF(27, 28, 17, 26), 7);
    dropShadow(p, robe, {1.5, 2});
    QRadialGradient rg(QPointF(31, 34), 22);
    rg.setColorAt(0, shade(marble, 1.2));
    rg.setColorAt(1, shade(marble, 0.6));
    shadedFill(p, robe, rg, QColor(120, 115, 105));
    const QPainterPath head = circle({35.5, 30}, 6.5);
    QRadialGradient hg(QPointF(33, 27.5), 9);
    hg.setColorAt(0, QColor(250, 248, 240));
    hg.setColorAt(1, shade(marble, 0.65));
    shadedFill(p, head, hg, QColor(120, 115, 105));
}

void altar(QPainter& p, std::uint32_t seed)
{
    const QRectF slab(5, 7, 98, 40);
    const QPainterPath shape = rounded(slab, 2);
    dropShadow(p, shape, {2.5, 3});
    const QColor pale(176, 170, 158);
    shadedFill(p, shape, stoneBrush(pale, seed), pale);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(slab.adjusted(3, 3, -3, -3), 1, 1);
    const QPainterPath cloth = rounded(QRectF(42, 4, 24, 47), 1);
    shadedFill(p, cloth, Crimson, Crimson, 1.0, 0.6);
    p.setPen(QPen(Gold, 1.2));
    p.drawLine(QPointF(44.5, 4.5), QPointF(44.5, 50.5));
    p.drawLine(QPointF(63.5, 4.5), QPointF(63.5, 50.5));
    const QPainterPath chalice = circle({54, 27}, 5);
    metalFill(p, chalice, Gold, 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 10, 20));
    p.drawEllipse(QPointF(54, 27), 3, 3);
    for (double x : {16.0, 92.0}) {
        p.setPen(QPen(QColor(150, 130, 90), 0.7));
        p.setBrush(QColor(238, 230, 205));
        p.drawEllipse(QPointF(x, 27), 4, 4);
        flame(p, {x, 27}, 3.6, seed + std::uint32_t(x));
    }
}

void coffin(QPainter& p, std::uint32_t seed)
{
    const QPainterPath box = polygon({{17, 4}, {37, 4}, {49, 26}, {42, 104}, {12, 104}, {5, 26}});
    dropShadow(p, box);
    shadedFill(p, box, woodBrush(DarkWood, false, seed), DarkWood);
    const QPainterPath lid = polygon({{19, 8}, {35, 8}, {45, 27}, {39, 99}, {15, 99}, {9, 27}});
    shadedFill(p, lid, woodBrush(shade(DarkWood, 1.15), false, seed + 1), DarkWood, 1.0, 0.6);
    const QPainterPath cross = polygon({{25.5, 22},
                                        {28.5, 22},
                                        {28.5, 34},
                                        {38, 34},
                                        {38, 37},
                                        {28.5, 37},
                                        {28.5, 62},
                                        {25.5, 62},
                                        {25.5, 37},
                                        {16, 37},
                                        {16, 34},
                                        {25.5, 34}});
    metalFill(p, cross, QColor(180, 182, 188), 0.8);
}

void well(QPainter& p, std::uint32_t seed)
{
    const QPointF c(35.5, 35.5);
    const QPainterPath rim = ring(c, 31, 21);
    dropShadow(p, circle(c, 31));
    shadedFill(p, rim, stoneBrush(Stone, seed), Stone, 1.2, 0.8);
    Rng rng(seed);
    p.setPen(QPen(QColor(50, 46, 42), 1.0));
    for (int i = 0; i < 12; ++i) {
        const double a = (i + 0.5) * 2 * Pi / 12;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 21,
                   c + QPointF(std::cos(a), std::sin(a)) * 31);
        const double b = i * 2 * Pi / 12;
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, int(rng.range(0, 40))));
        p.drawEllipse(c + QPointF(std::cos(b), std::sin(b)) * 26, 3.5, 3.5);
        p.restore();
    }
    QRadialGradient deep(c, 21);
    deep.setColorAt(0, QColor(6, 18, 30));
    deep.setColorAt(0.8, QColor(20, 55, 75));
    deep.setColorAt(1, QColor(10, 20, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(deep);
    p.drawEllipse(c, 21, 21);
    p.setPen(QPen(QColor(140, 190, 210, 110), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - 12, c.y() - 12, 24, 24), 100 * 16, 70 * 16);
    woodPanel(p, QRectF(5, 31, 61, 8), DarkWood, true, 1, seed + 1, 1.5);
    for (double x : {4.0, 59.0})
        woodPanel(p, QRectF(x, 28, 8, 14), Oak, false, 1, seed + 2, 1.5);
    const QPainterPath coil = circle(c, 5);
    shadedFill(p, coil, QColor(190, 160, 110), QColor(150, 120, 80), 0.9);
    p.setPen(QPen(QColor(120, 90, 50), 0.7));
    p.drawEllipse(c, 3, 3);
}

void fountain(QPainter& p, std::uint32_t seed)
{
    const QPointF c(44.5, 44.5);
    const QPainterPath basin = regularPolygon(c, 42, 8, 22.5);
    dropShadow(p, basin);
    shadedFill(p, basin, stoneBrush(QColor(170, 164, 152), seed), QColor(160, 154, 142));
    const QPainterPath pool = regularPolygon(c, 35, 8, 22.5);
    QRadialGradient water(c, 36);
    water.setColorAt(0, QColor(70, 150, 185));
    water.setColorAt(1, QColor(25, 75, 110));
    p.fillPath(pool, water);
    p.setPen(QPen(QColor(40, 36, 30, 160), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pool);
    p.save();
    p.setClipPath(pool);
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(200, 235, 245, 120 - i * 22), 1.0));
        p.drawEllipse(c, 14.0 + i * 6, 14.0 + i * 6);
    }
    p.restore();
    const QPainterPath pedestal = circle(c, 10);
    dropShadow(p, pedestal, {1.5, 2});
    shadedFill(p, pedestal, stoneBrush(QColor(190, 184, 172), seed + 1), QColor(160, 154, 142));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 170, 200));
    p.drawEllipse(c, 6, 6);
    glow(p, c, 5, QColor(235, 250, 255), 1.2);
    Rng rng(seed);
    p.setBrush(QColor(225, 245, 255, 200));
    for (int i = 0; i < 20; ++i) {
        const double a = rng.range(0, 2 * Pi), r = rng.range(11, 19);
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r, 0.8, 0.8);
    }
}

void rubble(QPainter& p, std::uint32_t seed)
{
    Rng rng(seed);
    QPainterPath dust;
    dust.addEllipse(QRectF(8, 10, 56, 52));
    p.fillPath(dust, QColor(80, 70, 58, 120));
    for (int i = 0; i < 20; ++i) {
        const double a = rng.range(0, 2 * Pi), d = std::sqrt(rng.unit()) * 22;
        const QPointF at = QPointF(35.5, 36) + QPointF(std::cos(a), std::sin(a)) * d;
        const double r = rng.range(4.5, 11.0) * (1.0 - d / 40);
        const int sides = 5 + rng.below(3);
        QPainterPath rock;
        for (int k = 0; k < sides; ++k) {
            const double b = k * 2 * Pi / sides + rng.range(-0.3, 0.3);
            const QPointF pt = at + QPointF(std::cos(b), std::sin(b)) * r * rng.range(0.7, 1.15);
            k == 0 ? rock.moveTo(pt) : rock.lineTo(pt);
        }
        rock.closeSubpath();
        dropShadow(p, rock, {1.5, 2});
        const QColor c = shade(Stone, rng.range(0.7, 1.1));
        shadedFill(p, rock, stoneBrush(c, seed + std::uint32_t(i)), c, 1.0, 1.2);
    }
}

// ---- fire and metal -------------------------------------------------------------

void brazier(QPainter& p, std::uint32_t seed)
{
    const QPointF c(26.5, 26.5);
    p.setPen(QPen(QColor(40, 40, 44), 3.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double a = -Pi / 2 + i * 2 * Pi / 3 + Pi / 3;
        p.drawLine(c, c + QPointF(std::cos(a), std::sin(a)) * 23);
    }
    const QPainterPath bowl = circle(c, 17);
    dropShadow(p, bowl);
    metalFill(p, bowl, QColor(70, 66, 64));
    QRadialGradient coals(c, 14);
    coals.setColorAt(0, QColor(255, 170, 60));
    coals.setColorAt(0.6, QColor(170, 40, 15));
    coals.setColorAt(1, QColor(40, 15, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(coals);
    p.drawEllipse(c, 13.5, 13.5);
    Rng rng(seed);
    for (int i = 0; i < 18; ++i) {
        const double a = rng.range(0, 2 * Pi), r = rng.range(3, 12);
        p.setBrush(QColor(30, 14, 8, 200));
        p.drawEllipse(c + QPointF(std::cos(a), std::sin(a)) * r, 1.6, 1.6);
    }
    flame(p, c, 12, seed);
}

void torchStand(QPainter& p, std::uint32_t seed)
{
    const QPointF c(17.5, 17.5);
    p.setPen(QPen(QColor(40, 40, 44), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double a = -Pi / 2 + i * 2 * Pi / 3 + Pi / 3;
        p.drawLine(c, c + QPointF(std::cos(a), std::sin(a)) * 13);
    }
    const QPainterPath cup = circle(c, 6.5);
    metalFill(p, cup, QColor(70, 66, 64), 1.0);
    flame(p, c, 8.5, seed);
}

void campfire(QPainter& p, std::uint32_t seed)
{
    const QPointF c(35.5, 35.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 22, 16, 170));
    p.drawEllipse(c, 24, 24);
    Rng rng(seed);
    for (int i = 0; i < 11; ++i) {
        const double a = i * 2 * Pi / 11 + rng.range(-0.1, 0.1);
        const QPointF at = c + QPointF(std::cos(a), std::sin(a)) * 27;
        QPainterPath rock;
        rock.addEllipse(at, rng.range(4.5, 6), rng.range(3.8, 5));
        dropShadow(p, rock, {1.2, 1.6});
        const QColor s = shade(Stone, rng.range(0.75, 1.05));
        shadedFill(p, rock, stoneBrush(s, seed + std::uint32_t(i)), s, 1.0, 1.3);
    }
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 60 + 15);
        const QRectF log(-18, -3.5, 36, 7);
        const QPainterPath shape = rounded(log, 3.5);
        shadedFill(p, shape, woodBrush(QColor(100, 66, 38), true, seed + 30 + std::uint32_t(i)),
                   QColor(90, 58, 32));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 20, 15));
        p.drawRect(QRectF(-8, -3.5, 16, 7));
        p.setBrush(QColor(200, 160, 110));
        p.drawEllipse(QPointF(17, 0), 1.8, 2.8);
        p.restore();
    }
    flame(p, c, 14, seed);
}

void cauldron(QPainter& p, std::uint32_t seed)
{
    const QPointF c(35.5, 35.5);
    for (double dx : {-28.0, 28.0}) {
        p.setPen(QPen(QColor(35, 35, 38), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c + QPointF(dx, 0), 4, 6);
    }
    const QPainterPath pot = circle(c, 26);
    dropShadow(p, pot);
    metalFill(p, pot, QColor(52, 52, 56));
    p.setPen(QPen(QColor(120, 122, 128), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 22.5, 22.5);
    QRadialGradient brew(c - QPointF(5, 5), 24);
    brew.setColorAt(0, QColor(150, 220, 80));
    brew.setColorAt(1, QColor(40, 100, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(brew);
    p.drawEllipse(c, 21, 21);
    Rng rng(seed);
    for (int i = 0; i < 9; ++i) {
        const double a = rng.range(0, 2 * Pi), r = rng.range(0, 15), s = rng.range(1.5, 3.8);
        const QPointF at = c + QPointF(std::cos(a), std::sin(a)) * r;
        p.setPen(QPen(QColor(220, 255, 170, 200), 0.8));
        p.setBrush(QColor(120, 200, 70, 150));
        p.drawEllipse(at, s, s);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(at - QPointF(s * 0.35, s * 0.35), s * 0.3, s * 0.3);
    }
}

void anvil(QPainter& p, std::uint32_t seed)
{
    const QPointF c(38, 27);
    const QPainterPath stump = circle(c, 22);
    dropShadow(p, stump);
    QRadialGradient endGrain(c, 22);
    for (int i = 0; i <= 10; ++i)
        endGrain.setColorAt(i / 10.0, i % 2 ? QColor(170, 124, 78) : QColor(150, 106, 64));
    shadedFill(p, stump, endGrain, QColor(120, 80, 45));
    p.setPen(QPen(QColor(90, 58, 32), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 21, 21);
    const QPainterPath body = polygon({{6, 27},
                                       {16, 21},
                                       {24, 19},
                                       {60, 19},
                                       {60, 17},
                                       {67, 17},
                                       {67, 37},
                                       {60, 37},
                                       {60, 35},
                                       {24, 35},
                                       {16, 33}});
    dropShadow(p, body, {2, 2.5});
    metalFill(p, body, QColor(72, 74, 80));
    p.setPen(QPen(QColor(200, 204, 210, 150), 1.0));
    p.drawLine(QPointF(25, 21.5), QPointF(58, 21.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 28));
    p.drawRect(QRectF(52, 25, 4, 4));
    Q_UNUSED(seed);
}

void sack(QPainter& p, std::uint32_t seed)
{
    QPainterPath bag;
    bag.moveTo(18, 5);
    bag.cubicTo(31, 4, 33, 16, 31, 24);
    bag.cubicTo(29, 32, 8, 33, 5.5, 24);
    bag.cubicTo(3, 15, 7, 5, 18, 5);
    dropShadow(p, bag, {1.5, 2});
    const QColor burlap(176, 148, 100);
    shadedFill(p, bag, stoneBrush(burlap, seed), burlap, 1.1, 1.2);
    // Folds gathered towards the tied neck.
    p.setPen(QPen(shade(burlap, 0.55), 0.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * Pi / 7 + 0.3;
        p.drawLine(QPointF(18, 19) + QPointF(std::cos(a), std::sin(a)) * 4.5,
                   QPointF(18, 19) + QPointF(std::cos(a), std::sin(a)) * 10.5);
    }
    const QPainterPath knot = circle({18, 19}, 3.2);
    shadedFill(p, knot, shade(burlap, 0.85), burlap, 0.9);
    p.setPen(QPen(QColor(120, 90, 50), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 19), QPointF(22, 25));
}

void bones(QPainter& p, std::uint32_t seed)
{
    Rng rng(seed);
    const QColor ivory(228, 218, 190);
    auto bone = [&](QPointF at, double angle, double length) {
        p.save();
        p.translate(at);
        p.rotate(angle);
        QPainterPath shape;
        const double h = length / 2;
        shape.addRoundedRect(QRectF(-h, -1.6, length, 3.2), 1.6, 1.6);
        for (double ex : {-h, h})
            for (double ey : {-1.7, 1.7})
                shape.addEllipse(QPointF(ex, ey), 2.3, 2.3);
        shape = shape.simplified();
        dropShadow(p, shape, {1.2, 1.5});
        shadedFill(p, shape, ivory, QColor(150, 135, 105), 1.0, 0.8);
        p.restore();
    };
    bone({20, 16}, 25, 22);
    bone({50, 40}, -35, 24);
    bone({22, 40}, 80, 16);
    bone({56, 14}, 150, 14);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(150, 135, 105), 0.7));
        p.setBrush(ivory);
        p.drawEllipse(QPointF(rng.range(10, 62), rng.range(8, 46)), 1.6, 1.2);
    }
    // Skull, face up.
    QPainterPath skull;
    skull.addEllipse(QRectF(30, 17, 17, 19));
    skull.addRoundedRect(QRectF(33, 31, 11, 8), 3, 3);
    skull = skull.simplified();
    dropShadow(p, skull, {1.5, 2});
    QRadialGradient g(QPointF(35, 22), 16);
    g.setColorAt(0, QColor(248, 242, 222));
    g.setColorAt(1, QColor(180, 168, 136));
    shadedFill(p, skull, g, QColor(150, 135, 105), 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 22));
    p.drawEllipse(QPointF(35, 27), 2.8, 3.0);
    p.drawEllipse(QPointF(42, 27), 2.8, 3.0);
    p.drawPath(polygon({{38.5, 30.5}, {37.2, 33.5}, {39.8, 33.5}}));
    p.setPen(QPen(QColor(60, 50, 40), 0.6));
    for (double x : {35.5, 37.5, 39.5, 41.5})
        p.drawLine(QPointF(x, 36), QPointF(x, 38.5));
}

void weaponRack(QPainter& p, std::uint32_t seed)
{
    woodPanel(p, QRectF(4, 13, 100, 9), DarkWood, true, 1, seed, 1.5);
    const QColor steel(190, 194, 200);
    for (int i = 0; i < 5; ++i) {
        const double x = 14 + i * 20;
        if (i % 2 == 0) {
            // Sword: blade, guard, grip, pommel.
            metalFill(p,
                      polygon({{x - 1.6, 4}, {x + 1.6, 4}, {x + 1.6, 24}, {x, 27}, {x - 1.6, 24}}),
                      steel, 0.7);
            metalFill(p, rounded(QRectF(x - 5, 23, 10, 2.4), 1), Gold, 0.7);
            p.fillRect(QRectF(x - 1.1, 25.4, 2.2, 5), QColor(70, 40, 22));
            metalFill(p, circle({x, 31}, 1.8), Gold, 0.6);
        } else {
            // Spear: long shaft with a leaf head.
            p.setPen(QPen(QColor(120, 84, 48), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x, 10), QPointF(x, 32));
            metalFill(p, polygon({{x, 3}, {x + 2.6, 8}, {x, 12}, {x - 2.6, 8}}), steel, 0.7);
        }
    }
}

} // namespace

std::vector<Tile> drawObjects()
{
    using Painter = void (*)(QPainter&, std::uint32_t);
    struct Entry {
        const char* name;
        int w, h;
        Painter paint;
    };
    static constexpr Entry all[] = {
        {"table", 108, 72, table},
        {"round-table", 72, 72, roundTable},
        {"chair", 36, 36, chair},
        {"stool", 36, 36, stool},
        {"bench", 108, 36, bench},
        {"bed", 72, 108, bed},
        {"chest", 72, 54, chest},
        {"barrel", 54, 54, barrel},
        {"crate", 54, 54, crate},
        {"bookshelf", 108, 36, bookshelf},
        {"throne", 72, 72, throne},
        {"rug", 144, 72, rug},
        {"wooden-door", 72, 36, woodenDoor},
        {"iron-door", 72, 36, ironDoor},
        {"stairs", 72, 108, stairs},
        {"trapdoor", 72, 72, trapdoor},
        {"column", 54, 54, column},
        {"statue", 72, 72, statue},
        {"altar", 108, 54, altar},
        {"coffin", 54, 108, coffin},
        {"well", 72, 72, well},
        {"fountain", 90, 90, fountain},
        {"rubble", 72, 72, rubble},
        {"brazier", 54, 54, brazier},
        {"torch-stand", 36, 36, torchStand},
        {"campfire", 72, 72, campfire},
        {"cauldron", 72, 72, cauldron},
        {"anvil", 72, 54, anvil},
        {"sack", 36, 36, sack},
        {"bones", 72, 54, bones},
        {"weapon-rack", 108, 36, weaponRack},
    };
    std::vector<Tile> tiles;
    for (const Entry& e : all) {
        QImage img = transparentCanvas(e.w, e.h);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            e.paint(p, seedOf(e.name));
        }
        tiles.push_back({QString::fromLatin1(e.name), img.convertToFormat(QImage::Format_ARGB32)});
    }
    return tiles;
}

} // namespace tileset
