#include "oracle/LiteralRenderer.h"

#include "imaging/Imaging.h"
#include "map/Numeric.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace halvorn::oracle {

namespace {

// The drop-shadow colour matrix, row = input channel R, G, B, A, 1 and
// column = output channel R, G, B, A, 1.
using Matrix = float[5][5];

void FillShadowMatrix(Matrix& m, float objectShadowAlpha)
{
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            m[i][j] = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = 0.01f;
    m[3][3] = objectShadowAlpha;
    m[4][4] = 1.0f;
}

// Drawing through a colour matrix: every straight pixel as the row vector
// (R, G, B, A, 1) of fractions of full scale, times the matrix, clamped to
// 0..1, back to bytes.
QImage ThroughMatrix(const QImage& source, const Matrix& m)
{
    QImage out = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            const float in[5] = {qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f,
                                 qAlpha(p) / 255.0f, 1.0f};
            int c[4];
            for (int j = 0; j < 4; ++j) {
                float v = 0;
                for (int i = 0; i < 5; ++i)
                    v += in[i] * m[i][j];
                c[j] = RoundToInt(std::clamp(v, 0.0f, 1.0f) * 255.0f);
            }
            out.setPixel(x, y, qRgba(c[0], c[1], c[2], c[3]));
        }
    }
    return out;
}

void Grid(QPainter& g, const MapDocument& map, float z, float ratio)
{
    if (ratio == 1.0f) {
        QPen pen(QColor::fromRgba(0xFF000000u));
        pen.setWidthF(1.0);
        g.setPen(pen);
        for (float k = 0; k <= map.MapWidth(); k += 1) {
            const int x = RoundToInt(72 * z * k - 1);
            g.drawLine(QPoint(x, 0), QPoint(x, RoundToInt(72 * z * map.MapHeight())));
        }
        for (float k = 0; k <= map.MapHeight(); k += 1) {
            const int y = RoundToInt(72 * z * k - 1);
            g.drawLine(QPoint(0, y), QPoint(RoundToInt(72 * z * map.MapWidth()), y));
        }
        g.setPen(Qt::NoPen);
        return;
    }
    // A wider pen is stroked about its centre line; the pixels wanted are
    // the last `w` before each cell edge, so they are filled as such.
    const float scale = z * ratio;
    const int w = std::max(1, RoundToInt(ratio));
    const int width = RoundToInt(72 * scale * map.MapWidth());
    const int height = RoundToInt(72 * scale * map.MapHeight());
    for (float k = 0; k <= map.MapWidth(); k += 1)
        g.fillRect(QRect(RoundToInt(72 * scale * k) - w, 0, w, height + w), Qt::black);
    for (float k = 0; k <= map.MapHeight(); k += 1)
        g.fillRect(QRect(0, RoundToInt(72 * scale * k) - w, width + w, w), Qt::black);
}

void Floor(QPainter& g, const MapDocument& map, float z)
{
    // From each cell's rounded edge to the next one's: the rounded cell size
    // wherever 72 z is whole, and no seams where it is not.
    const auto edge = [&](float k) { return RoundToInt(72 * z * k); };
    for (float x = 0; x <= map.MapWidth(); x += 1) {
        for (float y = 0; y <= map.MapHeight(); y += 1) {
            const ImageHandle tile = map.FloorAt(static_cast<int>(x), static_cast<int>(y));
            if (tile == 0)
                continue;
            g.drawImage(QRect(edge(x), edge(y), edge(x + 1) - edge(x), edge(y + 1) - edge(y)),
                        ImageOf(tile));
        }
    }
}

void Objects(QPainter& g, const MapDocument& map, float z, const ShadowParams& shadows,
             bool drawshadows)
{
    Matrix matrix;
    FillShadowMatrix(matrix, shadows.ObjectShadowAlpha);
    const std::vector<PlacedObject>& objects = map.Objects();
    const float d = shadows.ObjectShadowOffset;
    for (float i = 0; i <= static_cast<float>(objects.size()) - 2; i += 1) {
        const PlacedObject& o = objects[static_cast<size_t>(i)];
        if (o.Image == 0)
            continue;
        const QImage copy = ApplyOrientation(ImageOf(o.Image).copy(), o.orientation);
        const int w = RoundToInt(z * o.Width);
        const int h = RoundToInt(z * o.Height);
        if (drawshadows && o.Shadow)
            g.drawImage(QRect(RoundToInt(o.X * z + d * z), RoundToInt(o.Y * z + d * z), w, h),
                        ThroughMatrix(copy, matrix), QRect(0, 0, o.Width, o.Height));
        g.drawImage(QRect(RoundToInt(o.X * z), RoundToInt(o.Y * z), w, h), copy);
    }
}

// `z` positions and sizes (zoom x ratio), `zoom` the layer count, `ratio`
// the half-pixel overlap.
void Walls(QPainter& g, const MapDocument& map, float z, float zoom, float ratio,
           const QColor& shade, bool drawshadows)
{
    const float s = 18 * z;
    for (float x = 0; x <= 4 * map.MapWidth() + 1; x += 1) {
        for (float y = 0; y <= 4 * map.MapHeight() + 1; y += 1) {
            const ImageHandle piece = map.WallAt(static_cast<int>(x), static_cast<int>(y));
            if (piece == 0)
                continue;
            const float cx = 18 * z * x;
            const float cy = 18 * z * y;
            if (drawshadows) {
                const auto square = [&](float n) {
                    g.fillRect(QRectF(cx - n * z, cy - n * z, s, s), shade);
                };
                if (zoom > 0.8f) {
                    square(2);
                    square(3);
                }
                if (zoom > 0.4f) {
                    square(4);
                    square(5);
                }
                if (zoom > 0.1f) {
                    square(6);
                    square(7);
                    square(8);
                }
            }
            const float side = s + 0.5f * ratio;
            g.drawImage(QRectF(cx - 9 * z, cy - 9 * z, side, side), ImageOf(piece));
        }
    }
}

} // namespace

void LiteralRedraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
                   const ShadowParams& shadows, bool drawshadows, float ratio)
{
    const float scale = zoom * ratio;
    canvas.fill(Qt::white);
    QPainter g(&canvas);
    // The same quality the program draws with: scaled pictures filtered,
    // shapes and lines not smoothed.
    g.setRenderHint(QPainter::SmoothPixmapTransform, true);
    g.setRenderHint(QPainter::Antialiasing, false);
    if (layers.ShowGridLayer)
        Grid(g, map, zoom, ratio);
    if (layers.ShowFloorLayer)
        Floor(g, map, scale);
    if (layers.ShowObjectLayer)
        Objects(g, map, scale, shadows, drawshadows);
    const QColor shade(0, 0, 0, std::clamp<int>(shadows.WallShadowAlpha, 0, 255));
    if (layers.ShowWallLayer)
        Walls(g, map, scale, zoom, ratio, shade, drawshadows);
}

int MaxChannelDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return INT_MAX;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (p[col] == q[col])
                continue;
            worst = std::max({worst, std::abs(qAlpha(p[col]) - qAlpha(q[col])),
                              std::abs(qRed(p[col]) - qRed(q[col])),
                              std::abs(qGreen(p[col]) - qGreen(q[col])),
                              std::abs(qBlue(p[col]) - qBlue(q[col]))});
        }
    }
    return worst;
}

} // namespace halvorn::oracle
