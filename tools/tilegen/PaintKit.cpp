#include "PaintKit.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tileset::kit {

std::uint64_t Rng::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint32_t seedOf(std::string_view name)
{
    std::uint32_t h = 2166136261u;
    for (char c : name) {
        h ^= std::uint8_t(c);
        h *= 16777619u;
    }
    return h;
}

double hash01(int x, int y, std::uint32_t seed)
{
    std::uint32_t h =
        std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0x1000000);
}

static int wrapIndex(int i, int n)
{
    const int m = i % n;
    return m < 0 ? m + n : m;
}

double latticeNoise(double x, double y, int cellsX, int cellsY, std::uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto at = [&](int i, int j) {
        return hash01(wrapIndex(i, cellsX), wrapIndex(j, cellsY), seed);
    };
    const double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double tiledFbm(double x, double y, int w, int h, int cellsX, int cellsY, int octaves,
                std::uint32_t seed)
{
    double sum = 0, amp = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        const int cx = cellsX << o, cy = cellsY << o;
        sum += amp * latticeNoise(x / w * cx, y / h * cy, cx, cy, seed + std::uint32_t(o) * 7919u);
        total += amp;
        amp *= 0.5;
    }
    return sum / total;
}

Rgb rgb(const QColor& c)
{
    return {c.redF(), c.greenF(), c.blueF()};
}
Rgb mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb operator*(Rgb a, double f)
{
    return {a.r * f, a.g * f, a.b * f};
}
Rgb operator+(Rgb a, Rgb b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

QRgb toQRgb(Rgb c, double alpha)
{
    auto ch = [](double v) { return std::clamp(int(std::lround(v * 255.0)), 0, 255); };
    return qRgba(ch(c.r), ch(c.g), ch(c.b), ch(alpha));
}

QColor toColor(Rgb c)
{
    return QColor::fromRgba(toQRgb(c));
}

QColor shade(const QColor& c, double f)
{
    const Rgb v = f >= 1.0 ? mix(rgb(c), {1, 1, 1}, std::min(1.0, f - 1.0)) : rgb(c) * f;
    QColor out = toColor(v);
    out.setAlpha(c.alpha());
    return out;
}

double smooth(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

void perPixel(QImage& img, const std::function<Rgb(int, int)>& f)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = toQRgb(f(x, y));
    }
}

Cells jitteredCells(int w, int h, int nx, int ny, double jitter, std::uint32_t seed)
{
    Rng rng(seed);
    Cells cells{w, h, {}};
    const double cw = double(w) / nx, ch = double(h) / ny;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            cells.points.emplace_back((i + 0.5 + rng.range(-jitter, jitter) * 0.5) * cw,
                                      (j + 0.5 + rng.range(-jitter, jitter) * 0.5) * ch);
    return cells;
}

CellHit nearestCell(const Cells& cells, double x, double y)
{
    double best = 1e9, second = 1e9;
    CellHit hit;
    for (int i = 0; i < int(cells.points.size()); ++i) {
        double dx = x - cells.points[i].x(), dy = y - cells.points[i].y();
        dx -= cells.w * std::round(dx / cells.w);
        dy -= cells.h * std::round(dy / cells.h);
        const double d = std::hypot(dx, dy);
        if (d < best) {
            second = best;
            best = d;
            hit.index = i;
            hit.offset = {dx, dy};
        } else if (d < second) {
            second = d;
        }
    }
    hit.d1 = best;
    hit.edge = (second - best) * 0.5;
    return hit;
}

void grain(QImage& img, double amount, int cells, int octaves, std::uint32_t seed)
{
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = line[x];
            const double f = 1.0 +
                             amount * (2.0 * tiledFbm(x, y, img.width(), img.height(), cells, cells,
                                                      octaves, seed) -
                                       1.0) +
                             amount * 0.5 * (hash01(x, y, seed ^ 0xABCDu) - 0.5);
            const int a = qAlpha(px);
            auto ch = [&](int v) { return std::clamp(int(std::lround(v * f)), 0, a); };
            line[x] = qRgba(ch(qRed(px)), ch(qGreen(px)), ch(qBlue(px)), a);
        }
    }
}

void wrapped(QPainter& p, QSizeF tile, const std::function<void()>& draw)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            p.save();
            p.translate(dx * tile.width(), dy * tile.height());
            draw();
            p.restore();
        }
}

QImage transparentCanvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage opaqueCanvas(int w, int h, const QColor& fill)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void dropShadow(QPainter& p, const QPainterPath& shape, QPointF offset)
{
    p.save();
    p.translate(offset);
    p.setBrush(Qt::NoBrush);
    // Widening strokes of low alpha give a soft edge without a blur pass.
    for (int i = 3; i >= 1; --i) {
        p.setPen(QPen(QColor(0, 0, 0, 22), i * 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape);
    }
    p.fillPath(shape, QColor(0, 0, 0, 70));
    p.restore();
}

void shadedFill(QPainter& p, const QPainterPath& shape, const QBrush& fill, const QColor& base,
                double outlineWidth, double relief)
{
    p.fillPath(shape, fill);
    const QRectF r = shape.boundingRect();
    QLinearGradient light(r.topLeft(), r.bottomRight());
    light.setColorAt(0.0, QColor(255, 250, 235, int(70 * relief)));
    light.setColorAt(0.45, QColor(255, 255, 255, 0));
    light.setColorAt(1.0, QColor(0, 0, 0, int(80 * relief)));
    p.fillPath(shape, light);
    if (outlineWidth > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(shade(base, 0.38), outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(shape);
    }
}

QBrush woodBrush(const QColor& base, bool alongX, std::uint32_t seed)
{
    constexpr int S = 144;
    QImage tex(S, S, QImage::Format_ARGB32_Premultiplied);
    const Rgb b = rgb(base);
    perPixel(tex, [&](int x, int y) {
        const int u = alongX ? x : y, v = alongX ? y : x;
        const double n = tiledFbm(u, v, S, S, 2, 24, 3, seed);
        const double band = 0.5 + 0.5 * std::sin(n * 40.0);
        const double fine = hash01(u / 3, v, seed) - 0.5;
        return b * (0.82 + 0.2 * band + 0.06 * fine);
    });
    return QBrush(tex);
}

QBrush stoneBrush(const QColor& base, std::uint32_t seed)
{
    constexpr int S = 144;
    QImage tex(S, S, QImage::Format_ARGB32_Premultiplied);
    const Rgb b = rgb(base);
    perPixel(tex, [&](int x, int y) {
        const double n = tiledFbm(x, y, S, S, 6, 6, 4, seed);
        return b * (0.8 + 0.35 * n + 0.08 * (hash01(x, y, seed) - 0.5));
    });
    return QBrush(tex);
}

void glow(QPainter& p, QPointF centre, double radius, const QColor& core, double strength)
{
    QRadialGradient g(centre, radius);
    QColor c = core;
    c.setAlphaF(std::min(1.0, 0.75 * strength));
    g.setColorAt(0.0, c);
    c.setAlphaF(0.3 * strength);
    g.setColorAt(0.45, c);
    c.setAlpha(0);
    g.setColorAt(1.0, c);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void flame(QPainter& p, QPointF centre, double size, std::uint32_t seed)
{
    Rng rng(seed);
    glow(p, centre, size * 1.9, QColor(255, 150, 40), 0.8);
    // Tongues seen from above: a star of warm petals around a white-hot core.
    const std::array<QColor, 3> colours{QColor(200, 40, 10), QColor(250, 130, 20),
                                        QColor(255, 210, 80)};
    for (int layer = 0; layer < 3; ++layer) {
        const double r = size * (1.0 - 0.28 * layer);
        QPainterPath petal;
        const int n = 7;
        for (int i = 0; i <= n; ++i) {
            const double a = (i + rng.range(-0.2, 0.2)) * 2 * std::numbers::pi / n + layer * 0.4;
            const double rr = r * rng.range(0.75, 1.1);
            const QPointF tip = centre + QPointF(std::cos(a) * rr, std::sin(a) * rr);
            const double am = a - std::numbers::pi / n;
            const QPointF valley =
                centre + QPointF(std::cos(am) * rr * 0.45, std::sin(am) * rr * 0.45);
            if (i == 0)
                petal.moveTo(tip);
            else
                petal.quadTo(valley, tip);
        }
        petal.closeSubpath();
        p.fillPath(petal, colours[layer]);
    }
    glow(p, centre, size * 0.5, QColor(255, 255, 220), 1.3);
}

QPainterPath regularPolygon(QPointF centre, double radius, int sides, double rotationDeg)
{
    QPainterPath path;
    for (int i = 0; i < sides; ++i) {
        const double a = (rotationDeg + 360.0 * i / sides) * std::numbers::pi / 180.0;
        const QPointF pt = centre + QPointF(std::cos(a) * radius, std::sin(a) * radius);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath ring(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    path.addEllipse(centre, outer, outer);
    path.addEllipse(centre, inner, inner);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

} // namespace tileset::kit
