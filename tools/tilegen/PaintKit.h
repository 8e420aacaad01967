// Small drawing toolkit shared by the floor, wall and object painters: a
// seeded random source, noise that repeats exactly at the tile size (so floors
// and walls tile without seams), per-pixel helpers and the common object style
// (light from the top left, soft drop shadow, dark outline).
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tileset::kit {

// splitmix64: tiny, fast and identical on every platform, unlike std:: engines
// paired with std:: distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)
    {
    }
    std::uint64_t next();
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double a, double b) { return a + (b - a) * unit(); }
    int below(int n) { return int(next() % std::uint64_t(n)); }

private:
    std::uint64_t state_;
};

std::uint32_t seedOf(std::string_view name);
double hash01(int x, int y, std::uint32_t seed);

// Value noise on a lattice of cellsX × cellsY that wraps around; x, y in cells.
double latticeNoise(double x, double y, int cellsX, int cellsY, std::uint32_t seed);
// Fractal noise in pixels over a w × h tile, repeating exactly at w and h.
// cellsX/cellsY: lattice cells across the tile at the coarsest octave.
double tiledFbm(double x, double y, int w, int h, int cellsX, int cellsY, int octaves,
                std::uint32_t seed);

struct Rgb {
    double r = 0, g = 0, b = 0;
};
Rgb rgb(const QColor& c);
Rgb mix(Rgb a, Rgb b, double t);
Rgb operator*(Rgb a, double f);
Rgb operator+(Rgb a, Rgb b);
QRgb toQRgb(Rgb c, double alpha = 1.0);
QColor toColor(Rgb c);
QColor shade(const QColor& c, double f); // f > 1 lightens, < 1 darkens
double smooth(double e0, double e1, double x);

// Sets every pixel of an opaque image from f(x, y).
void perPixel(QImage& img, const std::function<Rgb(int, int)>& f);

// Tileable cellular pattern: jittered points on a grid, distances wrap around.
struct Cells {
    int w = 0, h = 0;
    std::vector<QPointF> points;
};
Cells jitteredCells(int w, int h, int nx, int ny, double jitter, std::uint32_t seed);
struct CellHit {
    int index = 0;
    double d1 = 0;   // distance to the nearest point
    double edge = 0; // approximate distance to the cell border
    QPointF offset;  // pixel minus nearest point, wrapped
};
CellHit nearestCell(const Cells& cells, double x, double y);

// Darkens or lightens every pixel by tileable noise; keeps alpha.
void grain(QImage& img, double amount, int cells, int octaves, std::uint32_t seed);

// Runs draw() at the nine wrap offsets so shapes crossing an edge reappear on
// the opposite one.
void wrapped(QPainter& p, QSizeF tile, const std::function<void()>& draw);

QImage transparentCanvas(int w, int h);
QImage opaqueCanvas(int w, int h, const QColor& fill);

// Object style.
void dropShadow(QPainter& p, const QPainterPath& shape, QPointF offset = {2.0, 2.5});
void shadedFill(QPainter& p, const QPainterPath& shape, const QBrush& fill, const QColor& base,
                double outlineWidth = 1.2, double relief = 1.0);
QBrush woodBrush(const QColor& base, bool alongX, std::uint32_t seed);
QBrush stoneBrush(const QColor& base, std::uint32_t seed);
void glow(QPainter& p, QPointF centre, double radius, const QColor& core, double strength = 1.0);
void flame(QPainter& p, QPointF centre, double size, std::uint32_t seed);
QPainterPath regularPolygon(QPointF centre, double radius, int sides, double rotationDeg = 0);
QPainterPath ring(QPointF centre, double outer, double inner);

} // namespace tileset::kit
