// Wall pieces, 18 × 18 and opaque. The editor lays them on an 18 px grid and
// joins them into lines, so every piece repeats seamlessly in both directions
// and carries its own structure (blocks, boards, plates, posts) to read as a
// built wall rather than a flat colour.
#include "Masonry.h"
#include "Tileset.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace tileset {
using namespace kit;

namespace {

constexpr int S = WallSize;

QImage blank()
{
    return opaqueCanvas(S, S, Qt::black);
}

double fbm(double x, double y, int cells, int octaves, std::uint32_t seed)
{
    return tiledFbm(x, y, S, S, cells, cells, octaves, seed);
}

Rgb litBevel(Rgb c, double bv, double lightAmount = 0.25, double darkAmount = 0.4)
{
    return bv > 0 ? mix(c, {1, 0.97, 0.9}, lightAmount * bv) : c * (1 + darkAmount * bv);
}

QImage masonry(const std::vector<Course>& rows, Rgb stone, Rgb mortar, double joint,
               double bevelWidth, double variation, std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const Block b = locateBlock(rows, S, x + 0.5, y + 0.5);
        Rgb c = stone * ((1 + variation * (2 * hash01(b.id, 1, seed) - 1)) *
                         (0.86 + 0.28 * fbm(x, y, 3, 3, seed)));
        c = litBevel(c, bevel(b, bevelWidth));
        return mix(mortar, c, smooth(joint * 0.5, joint * 0.5 + 0.8, borderDistance(b)));
    });
    return img;
}

QImage stone(std::uint32_t seed)
{
    return masonry({{0, 9, {0}}, {9, 9, {9}}}, {0.40, 0.39, 0.38}, {0.08, 0.08, 0.07}, 1.3, 2.2,
                   0.1, seed);
}

QImage brick(std::uint32_t seed)
{
    return masonry(
        {{0, 4.5, {0, 9}}, {4.5, 4.5, {4.5, 13.5}}, {9, 4.5, {0, 9}}, {13.5, 4.5, {4.5, 13.5}}},
        {0.58, 0.26, 0.17}, {0.30, 0.27, 0.24}, 1.0, 1.2, 0.15, seed);
}

QImage marble(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double t = 2.0 * x / S + 2.0 * y / S + 2.5 * fbm(x, y, 2, 3, seed);
        const double vein = std::pow(1.0 - std::abs(std::sin(std::numbers::pi * t)), 10.0);
        Rgb c = mix({0.88, 0.87, 0.84}, {0.45, 0.45, 0.50}, vein * 0.6);
        const Block b{0, 0, 0, x + 0.5, y + 0.5, S, S};
        c = litBevel(c, bevel(b, 2.0), 0.5, 0.3);
        return mix(Rgb{0.40, 0.40, 0.42}, c, smooth(0.2, 0.9, borderDistance(b)));
    });
    return img;
}

QImage wood(std::uint32_t seed)
{
    const std::vector<Course> boards{{0, 6, {0}}, {6, 6, {9}}, {12, 6, {4}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const Block b = locateBlock(boards, S, x + 0.5, y + 0.5);
        const double n = tiledFbm(x, y + b.row * 5.0, S, S, 1, 6, 3, seed);
        const double band = 0.5 + 0.5 * std::sin(n * 26.0 + b.row * 2.0);
        Rgb c =
            Rgb{0.48, 0.31, 0.17} * ((0.9 + 0.2 * hash01(b.id, 2, seed)) * (0.82 + 0.18 * band));
        c = litBevel(c, bevel(b, 1.3), 0.2, 0.35);
        return mix(Rgb{0.12, 0.07, 0.04}, c, smooth(0.1, 0.9, borderDistance(b)));
    });
    return img;
}

QImage iron(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const Block b{0, 0, 0, x + 0.5, y + 0.5, S, S};
        const double brushed = tiledFbm(x, y, S, S, 1, 9, 2, seed);
        Rgb c = mix({0.26, 0.28, 0.31}, {0.40, 0.42, 0.45}, brushed);
        c = litBevel(c, bevel(b, 2.2), 0.35, 0.45);
        for (double rx : {3.5, 14.5})
            for (double ry : {3.5, 14.5}) {
                const double dx = b.u - rx, dy = b.v - ry, d = std::hypot(dx, dy);
                if (d < 1.9) {
                    const double light = -(dx + dy) / 1.9;
                    c = mix(c, Rgb{0.50, 0.52, 0.55} * (1 + 0.4 * light), smooth(1.9, 1.2, d));
                }
            }
        return mix(Rgb{0.08, 0.08, 0.09}, c, smooth(0.1, 0.8, borderDistance(b)));
    });
    return img;
}

// Rounded lumps (leaves, rocks) from a wrapping cellular pattern.
QImage lumps(int cells, double jitter, Rgb dark, Rgb light, Rgb gap, double gapWidth, double tex,
             std::uint32_t seed)
{
    const Cells c = jitteredCells(S, S, cells, cells, jitter, seed);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(c, x + 0.5, y + 0.5);
        const double r = h.d1 + h.edge;
        const double lit = -(h.offset.x() + h.offset.y()) / (r * std::sqrt(2.0));
        Rgb col = mix(dark, light, hash01(h.index, 1, seed)) *
                  (1 - tex / 2 + tex * fbm(x, y, 3, 3, seed + 1));
        col = lit > 0 ? mix(col, {1, 1, 0.9}, 0.25 * lit * lit) : col * (1 + 0.45 * lit);
        return mix(gap, col, smooth(gapWidth * 0.5, gapWidth * 0.5 + 1.0, h.edge));
    });
    return img;
}

QImage hedge(std::uint32_t seed)
{
    return lumps(5, 1.0, {0.12, 0.30, 0.10}, {0.28, 0.50, 0.18}, {0.04, 0.10, 0.03}, 0.6, 0.3,
                 seed);
}

QImage caveRock(std::uint32_t seed)
{
    return lumps(3, 0.9, {0.36, 0.31, 0.26}, {0.52, 0.46, 0.39}, {0.10, 0.08, 0.06}, 0.9, 0.5,
                 seed);
}

QImage palisade(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double dx = x + 0.5 - 9, dy = y + 0.5 - 9, d = std::hypot(dx, dy);
        const double rings = 0.5 + 0.5 * std::sin(d * 2.2 + 1.5 * fbm(x, y, 3, 2, seed));
        Rgb c = mix({0.55, 0.40, 0.24}, {0.70, 0.54, 0.34}, rings);
        c = mix(c, {0.30, 0.20, 0.12}, smooth(6.4, 7.6, d)); // bark
        c = c * (1 - 0.25 * (dx + dy) / (9 * std::sqrt(2.0)));
        return mix(c, Rgb{0.09, 0.06, 0.04}, smooth(8.2, 9.0, d));
    });
    return img;
}

// An ossuary wall: a course of long bones above and below a row of skulls.
QImage bone(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        return Rgb{0.13, 0.11, 0.09} * (0.8 + 0.4 * fbm(x, y, 3, 2, seed));
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ivory(226, 214, 182), outline(60, 50, 38);
    p.setPen(QPen(outline, 0.6));
    p.setBrush(ivory);
    wrapped(p, QSizeF(S, S), [&] {
        for (double y : {2.2, 15.8}) {
            QPainterPath shaft;
            shaft.addRoundedRect(QRectF(1.5, y - 1.0, 15, 2.0), 1, 1);
            for (double ex : {1.5, 16.5})
                for (double ey : {-1.1, 1.1})
                    shaft.addEllipse(QPointF(ex, y + ey), 1.3, 1.3);
            p.drawPath(shaft.simplified());
        }
    });
    QPainterPath skull;
    skull.addEllipse(QRectF(4.5, 4.5, 9, 8));
    skull.addRoundedRect(QRectF(6.5, 10, 5, 3.2), 1.2, 1.2);
    QRadialGradient g(QPointF(7.5, 6.5), 8);
    g.setColorAt(0, QColor(250, 244, 224));
    g.setColorAt(1, QColor(170, 158, 126));
    p.setBrush(g);
    p.drawPath(skull.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(35, 26, 18));
    p.drawEllipse(QPointF(7.3, 8.5), 1.3, 1.5);
    p.drawEllipse(QPointF(10.7, 8.5), 1.3, 1.5);
    p.drawEllipse(QPointF(9, 11), 0.6, 0.8);
    return img;
}

} // namespace

std::vector<Tile> drawWalls()
{
    using Painter = QImage (*)(std::uint32_t);
    static constexpr std::pair<const char*, Painter> all[] = {
        {"stone", stone},        {"brick", brick}, {"wood", wood},
        {"iron", iron},          {"hedge", hedge}, {"marble", marble},
        {"cave-rock", caveRock}, {"bone", bone},   {"palisade", palisade},
    };
    std::vector<Tile> tiles;
    for (const auto& [name, paint] : all)
        tiles.push_back(
            {QString::fromLatin1(name), paint(seedOf(name)).convertToFormat(QImage::Format_RGB32)});
    return tiles;
}

} // namespace tileset
