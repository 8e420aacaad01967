// Floor tiles, 72 × 72 and opaque. Each is computed per pixel from noise and
// layouts that repeat exactly at 72 px, so a floor laid in a grid has no seams.
#include "Masonry.h"
#include "Tileset.h"

#include <QPainter>

#include <array>
#include <cmath>
#include <numbers>

namespace tileset {
using namespace kit;

namespace {

constexpr int T = FloorSize;
constexpr double Pi = std::numbers::pi;

QImage blank()
{
    return opaqueCanvas(T, T, Qt::black);
}

double fbm(double x, double y, int cells, int octaves, std::uint32_t seed)
{
    return tiledFbm(x, y, T, T, cells, cells, octaves, seed);
}

// Per-block stone colour with texture, bevel and a mortar joint.
Rgb masonryPixel(const Block& b, double x, double y, Rgb stone, Rgb mortar, double joint,
                 double bevelWidth, double variation, std::uint32_t seed)
{
    const double blockTone = 1.0 + variation * (2.0 * hash01(b.id, 7, seed) - 1.0);
    const double tex = 0.86 + 0.28 * fbm(x, y, 6, 4, seed + 1);
    Rgb c = stone * (blockTone * tex);
    const double bv = bevel(b, bevelWidth);
    c = bv > 0 ? mix(c, {1, 0.97, 0.9}, 0.22 * bv) : c * (1.0 + 0.35 * bv);
    const double inside = smooth(joint * 0.5, joint * 0.5 + 0.9, borderDistance(b));
    const Rgb m = mortar * (0.85 + 0.3 * hash01(int(x), int(y), seed + 2));
    return mix(m, c, inside);
}

// Domain warp that keeps the 72 px period, so joints wander like hand-laid stone.
QPointF warp(double x, double y, double amount, std::uint32_t seed)
{
    return {x + amount * (fbm(x, y, 3, 3, seed + 11) - 0.5) * 2,
            y + amount * (fbm(x, y, 3, 3, seed + 13) - 0.5) * 2};
}

QImage flagstone(std::uint32_t seed)
{
    const std::vector<Course> rows{
        {0, 24, {8, 36, 58}}, {24, 26, {0, 22, 47}}, {50, 22, {14, 40, 62}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const QPointF w = warp(x + 0.5, y + 0.5, 2.2, seed);
        const Block b = locateBlock(rows, T, w.x(), w.y());
        Rgb c = masonryPixel(b, x, y, {0.50, 0.48, 0.45}, {0.16, 0.15, 0.13}, 1.6, 3.0, 0.1, seed);
        const double stain = smooth(0.55, 0.8, fbm(x, y, 4, 3, seed + 5));
        return mix(c, c * 0.78, stain * 0.6);
    });
    return img;
}

// Rounded stones in a grid of jittered cells, lit as domes.
Rgb pebble(const CellHit& h, Rgb stone, Rgb gap, double gapWidth, double x, double y,
           std::uint32_t seed)
{
    const double r = h.d1 + h.edge;
    const double nx = h.offset.x() / r, ny = h.offset.y() / r;
    const double light = -(nx + ny) / std::sqrt(2.0);
    const double inside = smooth(gapWidth * 0.5, gapWidth * 0.5 + 1.2, h.edge);
    const double tone = 0.85 + 0.3 * hash01(h.index, 3, seed);
    Rgb c = stone * (tone * (0.9 + 0.2 * fbm(x, y, 12, 2, seed + 4)));
    c = light > 0 ? mix(c, {1, 0.98, 0.92}, 0.3 * light * light) : c * (1 + 0.4 * light);
    c = c * (0.7 + 0.3 * smooth(0, 3.5, h.edge));
    return mix(gap * (0.8 + 0.4 * hash01(int(x), int(y), seed)), c, inside);
}

QImage cobble(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 8, 8, 0.7, seed);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double hue = hash01(h.index, 9, seed);
        const Rgb stone = mix({0.50, 0.49, 0.47}, {0.55, 0.47, 0.38}, hue);
        return pebble(h, stone, {0.17, 0.14, 0.11}, 1.8, x, y, seed);
    });
    return img;
}

QImage gravel(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 14, 14, 1.0, seed);
    static constexpr std::array<Rgb, 4> tones{
        {{0.55, 0.54, 0.52}, {0.45, 0.42, 0.38}, {0.62, 0.58, 0.50}, {0.38, 0.38, 0.40}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        return pebble(h, tones[std::size_t(hash01(h.index, 1, seed) * 4)] * 1.1, {0.30, 0.27, 0.22},
                      0.8, x, y, seed);
    });
    return img;
}

Rgb woodGrain(double along, double across, int plank, Rgb base, std::uint32_t seed)
{
    const double n = tiledFbm(along, across + plank * 9.0, T, T, 2, 12, 3, seed);
    const double band = 0.5 + 0.5 * std::sin(n * 34.0 + plank * 1.7);
    const double tone = 0.88 + 0.24 * hash01(plank, 5, seed);
    return base *
           (tone * (0.84 + 0.16 * band + 0.04 * (hash01(int(along) / 3, int(across), seed) - 0.5)));
}

QImage woodPlanks(std::uint32_t seed)
{
    const std::vector<Course> rows{
        {0, 18, {10, 52}}, {18, 18, {30}}, {36, 18, {0, 44}}, {54, 18, {20, 62}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const Block b = locateBlock(rows, T, x + 0.5, y + 0.5);
        Rgb c = woodGrain(x, y, b.id, {0.55, 0.36, 0.20}, seed);
        const double bv = bevel(b, 2.0);
        c = bv > 0 ? mix(c, {1, 0.92, 0.8}, 0.15 * bv) : c * (1 + 0.3 * bv);
        // Nails near both ends of every plank.
        for (double nu : {3.5, b.w - 3.5})
            for (double nv : {4.5, b.h - 4.5})
                c = mix(c, {0.22, 0.18, 0.15},
                        0.8 * smooth(1.1, 0.5, std::hypot(b.u - nu, b.v - nv)));
        return mix(Rgb{0.12, 0.07, 0.04}, c, smooth(0.2, 1.1, borderDistance(b)));
    });
    return img;
}

QImage parquet(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const int bx = x / 36, by = y / 36;
        const bool horizontal = (bx + by) % 2 == 0;
        const double lx = x - bx * 36 + 0.5, ly = y - by * 36 + 0.5;
        const double across = horizontal ? ly : lx;
        const int strip = int(across / 12);
        // u runs along the strip, v across it, so the bevel is lit from the
        // top left in both orientations.
        Block b;
        b.w = 36;
        b.h = 12;
        b.u = horizontal ? lx : ly;
        b.v = across - strip * 12;
        const int id = (by * 2 + bx) * 3 + strip;
        Rgb c = woodGrain(horizontal ? x : y, horizontal ? y : x, id, {0.66, 0.45, 0.24}, seed);
        const double bv = bevel(b, 1.5);
        c = bv > 0 ? mix(c, {1, 0.92, 0.8}, 0.15 * bv) : c * (1 + 0.3 * bv);
        return mix(Rgb{0.20, 0.12, 0.06}, c, smooth(0.1, 0.9, borderDistance(b)));
    });
    return img;
}

QImage dirt(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 9, 9, 1.0, seed + 3);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double n = fbm(x, y, 3, 5, seed);
        Rgb c = mix({0.27, 0.19, 0.12}, {0.45, 0.34, 0.22}, n);
        c = c * (0.92 + 0.16 * hash01(x, y, seed));
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double size = 1.0 + 2.0 * hash01(h.index, 2, seed);
        if (hash01(h.index, 4, seed) > 0.45 && h.d1 < size + 0.8) {
            const double light = -(h.offset.x() + h.offset.y()) / (size * std::sqrt(2.0));
            const Rgb stone = Rgb{0.48, 0.42, 0.35} * (1 + 0.35 * light);
            c = mix(c, stone, smooth(size + 0.8, size - 0.2, h.d1));
        }
        return c;
    });
    return img;
}

QImage grass(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double n = fbm(x, y, 3, 5, seed);
        return mix({0.20, 0.36, 0.12}, {0.36, 0.54, 0.20}, n) * (0.9 + 0.2 * hash01(x, y, seed));
    });
    // Blades: short strokes in light and dark greens, wrapped across edges.
    Rng rng(seed);
    struct Blade {
        QPointF a, b;
        QColor c;
    };
    std::vector<Blade> blades;
    for (int i = 0; i < 520; ++i) {
        const QPointF a(rng.range(0, T), rng.range(0, T));
        const double ang = rng.range(-Pi * 0.85, -Pi * 0.15);
        const double len = rng.range(2.5, 5.0);
        const double t = rng.unit();
        const QColor c = t < 0.5 ? QColor::fromRgbF(0.45 + 0.1 * t, 0.66, 0.26)
                                 : QColor::fromRgbF(0.12, 0.25 + 0.1 * t, 0.08);
        blades.push_back({a, a + QPointF(std::cos(ang) * len, std::sin(ang) * len), c});
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    wrapped(p, QSizeF(T, T), [&] {
        for (const Blade& b : blades) {
            p.setPen(QPen(b.c, 0.9, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(b.a, b.b);
        }
    });
    return img;
}

QImage sand(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double n = fbm(x, y, 3, 4, seed);
        const double ripple = std::sin(2 * Pi * (2.0 * x / T + 3.0 * y / T) + 6.0 * n);
        Rgb c = mix({0.74, 0.62, 0.40}, {0.86, 0.76, 0.54}, n);
        c = c * (1.0 + 0.05 * ripple);
        const double fleck = hash01(x, y, seed);
        if (fleck > 0.93)
            c = c * 0.82;
        else if (fleck < 0.05)
            c = mix(c, {1, 1, 0.95}, 0.3);
        return c;
    });
    return img;
}

double ridged(double x, double y, int cells, int octaves, std::uint32_t seed)
{
    return 1.0 - std::abs(2.0 * fbm(x, y, cells, octaves, seed) - 1.0);
}

QImage water(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double n = fbm(x, y, 2, 4, seed);
        Rgb c = mix({0.06, 0.20, 0.33}, {0.13, 0.38, 0.50}, n);
        const double caustic = std::pow(ridged(x, y, 3, 3, seed + 1), 7.0) * 0.7 +
                               std::pow(ridged(x, y, 4, 2, seed + 2), 9.0) * 0.4;
        return mix(c, {0.55, 0.80, 0.85}, std::min(1.0, caustic));
    });
    return img;
}

QImage lava(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 4, 4, 0.9, seed);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double n = fbm(x, y, 4, 4, seed + 1);
        const double crack = 1.0 - smooth(0.0, 1.6 + 1.8 * n, h.edge);
        const double heat = std::clamp(crack + 0.3 * std::pow(n, 4.0), 0.0, 1.0);
        Rgb crust = mix({0.10, 0.06, 0.05}, {0.26, 0.15, 0.11}, fbm(x, y, 8, 3, seed + 2));
        const double r = h.d1 + h.edge;
        crust = crust * (1.0 - 0.3 * (h.offset.x() + h.offset.y()) / (r * std::sqrt(2.0)));
        Rgb hot = heat < 0.5 ? mix({0.55, 0.06, 0.02}, {1.0, 0.45, 0.05}, heat * 2)
                             : mix({1.0, 0.45, 0.05}, {1.0, 0.92, 0.45}, heat * 2 - 1);
        return mix(crust, hot, smooth(0.05, 0.45, heat));
    });
    return img;
}

QImage carpet(std::uint32_t seed)
{
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double lx = (x % 36) + 0.5 - 18, ly = (y % 36) + 0.5 - 18;
        const double d = std::abs(lx) + std::abs(ly);
        Rgb c = {0.52, 0.09, 0.10};
        if (d > 17.5)
            c = {0.40, 0.06, 0.08};
        const double gold = 1 - smooth(0.5, 1.4, std::abs(d - 14.5));
        if (d < 8.5)
            c = {0.12, 0.14, 0.34};
        const double inner = 1 - smooth(0.4, 1.2, std::abs(d - 8.5));
        const double dot = 1 - smooth(2.0, 3.0, d);
        c = mix(c, {0.82, 0.64, 0.25}, std::max({gold, inner * 0.8, dot}));
        const double weave = ((x + y) % 2 == 0 ? 1.03 : 0.97) * (0.9 + 0.2 * fbm(x, y, 6, 3, seed));
        return c * weave;
    });
    return img;
}

QImage marble(std::uint32_t seed)
{
    const std::vector<Course> slabs{{0, 36, {0, 36}}, {36, 36, {0, 36}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double turb = fbm(x, y, 3, 5, seed);
        const double t = 2.0 * x / T + 2.0 * y / T + 3.0 * turb;
        const double vein = std::pow(1.0 - std::abs(std::sin(Pi * t)), 5.0);
        const double vein2 =
            std::pow(1.0 - std::abs(std::sin(
                               Pi * (4.0 * x / T - 2.0 * y / T + 4.0 * fbm(x, y, 4, 4, seed + 3)))),
                     24.0);
        Rgb c = mix({0.86, 0.85, 0.82}, {0.95, 0.94, 0.91}, fbm(x, y, 4, 3, seed + 1));
        c = mix(c, {0.45, 0.45, 0.48}, vein * 0.7 + vein2 * 0.35);
        const Block b = locateBlock(slabs, T, x + 0.5, y + 0.5);
        const double bv = bevel(b, 1.5);
        c = bv > 0 ? mix(c, {1, 1, 1}, 0.4 * bv) : c * (1 + 0.18 * bv);
        return mix(Rgb{0.48, 0.47, 0.46}, c, smooth(0.1, 0.8, borderDistance(b)));
    });
    return img;
}

QImage mosaic(std::uint32_t seed)
{
    static constexpr std::array<Rgb, 12> rings{{{0.80, 0.62, 0.22},
                                                {0.16, 0.24, 0.48},
                                                {0.86, 0.82, 0.70},
                                                {0.62, 0.28, 0.16},
                                                {0.86, 0.82, 0.70},
                                                {0.16, 0.24, 0.48},
                                                {0.86, 0.82, 0.70},
                                                {0.80, 0.62, 0.22},
                                                {0.62, 0.28, 0.16},
                                                {0.86, 0.82, 0.70},
                                                {0.16, 0.24, 0.48},
                                                {0.86, 0.82, 0.70}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const QPointF w = warp(x + 0.5, y + 0.5, 0.7, seed);
        const int cx = int(std::floor(w.x() / 6)), cy = int(std::floor(w.y() / 6));
        const double ccx = ((cx % 12 + 12) % 12) * 6 + 3, ccy = ((cy % 12 + 12) % 12) * 6 + 3;
        const int ring = std::min(11, int((std::abs(ccx - 36) + std::abs(ccy - 36)) / 6));
        Rgb c = rings[std::size_t(ring)] * (0.88 + 0.24 * hash01(cx & 11, cy & 11, seed));
        const Block b{0, 0, 0, w.x() - cx * 6.0, w.y() - cy * 6.0, 6, 6};
        const double bv = bevel(b, 1.5);
        c = bv > 0 ? mix(c, {1, 1, 1}, 0.2 * bv) : c * (1 + 0.25 * bv);
        return mix(Rgb{0.42, 0.40, 0.36}, c, smooth(0.3, 1.0, borderDistance(b)));
    });
    return img;
}

QImage brickFloor(std::uint32_t seed)
{
    std::vector<Course> rows;
    for (int r = 0; r < 6; ++r)
        rows.push_back({r * 12.0, 12,
                        r % 2 ? std::vector<double>{12, 36, 60} : std::vector<double>{0, 24, 48}});
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const QPointF w = warp(x + 0.5, y + 0.5, 0.6, seed);
        const Block b = locateBlock(rows, T, w.x(), w.y());
        return masonryPixel(b, x, y, {0.56, 0.28, 0.19}, {0.50, 0.46, 0.40}, 1.8, 2.0, 0.14, seed);
    });
    return img;
}

QImage ice(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 3, 3, 1.0, seed);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const double n = fbm(x, y, 2, 5, seed);
        Rgb c = mix({0.55, 0.74, 0.86}, {0.80, 0.91, 0.97}, n);
        const double gloss = std::pow(
            0.5 + 0.5 * std::sin(2 * Pi * (x + y) / 36.0 + 3 * fbm(x, y, 3, 2, seed + 1)), 8.0);
        c = mix(c, {1, 1, 1}, 0.25 * gloss);
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double wobble = 0.35 + 0.4 * fbm(x, y, 8, 2, seed + 2);
        c = c * (1.0 - 0.12 * (1 - smooth(wobble, wobble + 1.8, h.edge)));
        return mix(c, {0.97, 0.99, 1.0}, 1 - smooth(wobble * 0.6, wobble, h.edge));
    });
    return img;
}

QImage mossStone(std::uint32_t seed)
{
    const Cells cells = jitteredCells(T, T, 4, 4, 0.8, seed);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double r = h.d1 + h.edge;
        const double light = -(h.offset.x() + h.offset.y()) / (r * std::sqrt(2.0));
        Rgb stone = Rgb{0.44, 0.45, 0.42} * (0.85 + 0.3 * hash01(h.index, 1, seed)) *
                    (0.85 + 0.3 * fbm(x, y, 6, 4, seed + 1));
        stone = stone * (1 + 0.12 * light);
        stone = stone * (0.75 + 0.25 * smooth(0, 3.0, h.edge));
        Rgb c = mix({0.12, 0.13, 0.10}, stone, smooth(0.8, 1.8, h.edge));
        const double moss =
            smooth(0.55, 0.72, fbm(x, y, 3, 4, seed + 2) + 0.25 * (1 - smooth(0, 4, h.edge)));
        const Rgb green = mix({0.20, 0.32, 0.10}, {0.38, 0.50, 0.18}, hash01(x, y, seed + 3));
        return mix(c, green, moss * 0.9);
    });
    return img;
}

QImage checkeredTiles(std::uint32_t seed)
{
    const std::vector<Course> rows{{0, 36, {0, 36}}, {36, 36, {0, 36}}};
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const Block b = locateBlock(rows, T, x + 0.5, y + 0.5);
        const bool dark = (b.row + b.column) % 2 == 1;
        const Rgb base = dark ? Rgb{0.20, 0.22, 0.25} : Rgb{0.76, 0.72, 0.63};
        return masonryPixel(b, x, y, base, {0.30, 0.28, 0.25}, 1.4, 2.5, 0.03, seed);
    });
    return img;
}

QImage hexTiles(std::uint32_t seed)
{
    // Centres on a staggered lattice that repeats at 72 × 72 (columns every
    // 18 px, every other one shifted by half a row); the cells of unjittered
    // points are hexagons.
    Cells cells{T, T, {}};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 3; ++r)
            cells.points.emplace_back(c * 18.0 + 9, r * 24.0 + (c % 2 ? 12.0 : 0.0) + 6);
    QImage img = blank();
    perPixel(img, [&](int x, int y) {
        const CellHit h = nearestCell(cells, x + 0.5, y + 0.5);
        const double tone = hash01(h.index, 2, seed);
        Rgb c =
            mix({0.58, 0.36, 0.24}, {0.70, 0.48, 0.30}, tone) * (0.9 + 0.2 * fbm(x, y, 6, 3, seed));
        const double r = h.d1 + h.edge;
        const double nearEdge = 1 - smooth(0.8, 2.8, h.edge);
        const double side = -(h.offset.x() + h.offset.y()) / (r * std::sqrt(2.0));
        c = side > 0 ? mix(c, {1, 0.95, 0.85}, 0.3 * nearEdge * side)
                     : c * (1 + 0.4 * nearEdge * side);
        return mix(Rgb{0.28, 0.25, 0.21}, c, smooth(0.5, 1.3, h.edge));
    });
    return img;
}

} // namespace

std::vector<Tile> drawFloors()
{
    using Painter = QImage (*)(std::uint32_t);
    static constexpr std::pair<const char*, Painter> all[] = {
        {"flagstone", flagstone},
        {"cobble", cobble},
        {"wood-planks", woodPlanks},
        {"parquet", parquet},
        {"dirt", dirt},
        {"grass", grass},
        {"sand", sand},
        {"gravel", gravel},
        {"water", water},
        {"lava", lava},
        {"ice", ice},
        {"carpet", carpet},
        {"marble", marble},
        {"mosaic", mosaic},
        {"brick-floor", brickFloor},
        {"moss-stone", mossStone},
        {"checkered-tiles", checkeredTiles},
        {"hexagon-tiles", hexTiles},
    };
    std::vector<Tile> tiles;
    for (const auto& [name, paint] : all)
        tiles.push_back(
            {QString::fromLatin1(name), paint(seedOf(name)).convertToFormat(QImage::Format_RGB32)});
    return tiles;
}

} // namespace tileset
