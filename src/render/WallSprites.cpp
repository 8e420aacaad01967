#include "render/WallSprites.h"

#include "render/Imaging.h"

#include <QPainter>

#include <cmath>

namespace halvorn {

namespace {

float Fraction(float v)
{
    return v - std::floor(v);
}

QImage Transparent(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Cuts the picture to what it covers; a piece that covers all of that opaquely
// becomes a plain copy when drawn.
Sprite Trimmed(const QImage& drawn)
{
    QRect used;
    bool opaque = true;
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            used |= QRect(x, y, 1, 1);
            opaque = opaque && qAlpha(line[x]) == 255;
        }
    }
    if (used.isEmpty())
        return Sprite{};
    QImage part = drawn.copy(used);
    // Opaque only if no transparent hole lies inside the bounds either.
    for (int y = 0; opaque && y < part.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        for (int x = 0; x < part.width(); ++x)
            opaque = opaque && qAlpha(line[x]) == 255;
    }
    return Sprite{opaque ? part.convertToFormat(QImage::Format_RGB32) : part, used.topLeft()};
}

} // namespace

int FirstShadowLayer(float zoom)
{
    int first = 9;
    if (zoom > 0.1f)
        first = 6;
    if (zoom > 0.4f)
        first = 4;
    if (zoom > 0.8f)
        first = 2;
    return first;
}

const Sprite& WallSprites::Piece(ImageHandle image, float zoom, float left, float top)
{
    const float fx = Fraction(left);
    const float fy = Fraction(top);
    const PieceKey key{image, zoom, fx, fy};
    const auto found = pieces_.find(key);
    if (found != pieces_.end())
        return found->second;
    const float side = 18 * zoom + 0.5f;
    const int extent = static_cast<int>(std::ceil(side)) + 2;
    QImage sprite = Transparent(extent, extent);
    QPainter p(&sprite);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(fx, fy, side, side), ImageOf(image));
    p.end();
    return pieces_.emplace(key, Trimmed(sprite)).first->second;
}

const Sprite& WallSprites::Shadow(float zoom, float cx, float cy, int alpha)
{
    const int first = FirstShadowLayer(zoom);
    // Layers reach from 8 z above-left of the point to s - 2 z below-right.
    const float left = cx - 8 * zoom;
    const float top = cy - 8 * zoom;
    const ShadowKey key{zoom, Fraction(left), Fraction(top), alpha};
    const auto found = shadows_.find(key);
    if (found != shadows_.end())
        return found->second;
    const float s = 18 * zoom;
    const int extent = static_cast<int>(std::ceil(s + 8 * zoom)) + 2;
    QImage sprite = Transparent(extent, extent);
    QPainter p(&sprite);
    const QColor shade(0, 0, 0, alpha);
    const float ox = Fraction(left);
    const float oy = Fraction(top);
    for (int n = first; n <= 8; ++n) {
        const float off = static_cast<float>(n) * zoom;
        p.fillRect(QRectF(ox + 8 * zoom - off, oy + 8 * zoom - off, s, s), shade);
    }
    p.end();
    return shadows_.emplace(key, Trimmed(sprite)).first->second;
}

} // namespace halvorn
