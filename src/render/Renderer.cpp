#include "render/Renderer.h"

#include "map/Numeric.h"
#include "render/Imaging.h"
#include "render/ShadowMatrix.h"
#include "render/WallSprites.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace halvorn {

QSize CanvasSize(const MapDocument& map, float zoom)
{
    return {RoundToInt(map.MapWidth() * static_cast<float>(CellSize) * zoom),
            RoundToInt(map.MapHeight() * static_cast<float>(CellSize) * zoom)};
}

namespace {

void DrawGrid(QPainter& p, const MapDocument& map, float z)
{
    const float cell = static_cast<float>(CellSize) * z;
    const int width = RoundToInt(cell * map.MapWidth());
    const int height = RoundToInt(cell * map.MapHeight());
    // A one-pixel line is exactly one filled pixel column or row; a filled
    // rectangle says so without depending on line-end rules.
    for (float k = 0; k <= map.MapWidth(); k += 1)
        p.fillRect(QRect(RoundToInt(cell * k - 1), 0, 1, height + 1), Qt::black);
    for (float k = 0; k <= map.MapHeight(); k += 1)
        p.fillRect(QRect(0, RoundToInt(cell * k - 1), width + 1, 1), Qt::black);
}

void DrawFloors(QPainter& p, const MapDocument& map, float z)
{
    const float cell = static_cast<float>(CellSize) * z;
    const int size = RoundToInt(cell);
    for (int x = 0; x < map.FloorColumns(); ++x) {
        for (int y = 0; y < map.FloorRows(); ++y) {
            const ImageHandle tile = map.FloorAt(x, y);
            if (tile == 0)
                continue;
            p.drawImage(QRect(RoundToInt(cell * static_cast<float>(x)),
                                RoundToInt(cell * static_cast<float>(y)), size, size),
                       ImageOf(tile));
        }
    }
}

void DrawObjects(QPainter& p, const MapDocument& map, float z, const ShadowParams& shadows,
                 bool drawshadows, ShadowImages& shadowImages)
{
    const ColorMatrix matrix = MakeShadowMatrix(shadows.ObjectShadowAlpha);
    const std::vector<PlacedObject>& objects = map.Objects();
    const float d = static_cast<float>(shadows.ObjectShadowOffset);
    for (size_t i = 0; i + 1 < objects.size(); ++i) {
        const PlacedObject& o = objects[i];
        if (o.Image == 0)
            continue;
        const int w = RoundToInt(z * static_cast<float>(o.Width));
        const int h = RoundToInt(z * static_cast<float>(o.Height));
        if (drawshadows && o.Shadow)
            p.drawImage(QRect(RoundToInt(o.X * z + d * z), RoundToInt(o.Y * z + d * z), w, h),
                       shadowImages.Get(o.Image, o.orientation, matrix));
        p.drawImage(QRect(RoundToInt(o.X * z), RoundToInt(o.Y * z), w, h),
                   OrientedImage(o.Image, o.orientation));
    }
}

QPoint Floor(float x, float y)
{
    return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
}

void DrawWalls(QPainter& p, const MapDocument& map, float z, const ShadowParams& shadows,
               bool drawshadows, WallSprites& sprites)
{
    const float s = static_cast<float>(WallStep) * z;
    const int alpha = std::clamp<int>(shadows.WallShadowAlpha, 0, 255);
    const bool layers = drawshadows && FirstShadowLayer(z) <= 8 && alpha > 0;
    for (int x = 0; x < map.WallColumns(); ++x) {
        for (int y = 0; y < map.WallRows(); ++y) {
            const ImageHandle piece = map.WallAt(x, y);
            if (piece == 0)
                continue;
            const float cx = s * static_cast<float>(x);
            const float cy = s * static_cast<float>(y);
            if (layers) {
                const float left = cx - 8 * z;
                const float top = cy - 8 * z;
                const Sprite& shade = sprites.Shadow(z, cx, cy, alpha);
                p.drawImage(Floor(left, top) + shade.offset, shade.image);
            }
            const float left = cx - 9 * z;
            const float top = cy - 9 * z;
            const Sprite& drawn = sprites.Piece(piece, z, left, top);
            p.drawImage(Floor(left, top) + drawn.offset, drawn.image);
        }
    }
}

} // namespace

void MapRenderer::Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers,
                         float zoom, const ShadowParams& shadows, bool drawshadows)
{
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    // Scaled pictures are filtered, shapes stay crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (layers.ShowGridLayer)
        DrawGrid(p, map, zoom);
    if (layers.ShowFloorLayer)
        DrawFloors(p, map, zoom);
    if (layers.ShowObjectLayer)
        DrawObjects(p, map, zoom, shadows, drawshadows, objectShadows_);
    if (layers.ShowWallLayer)
        DrawWalls(p, map, zoom, shadows, drawshadows, walls_);
}

void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
            const ShadowParams& shadows, bool drawshadows)
{
    MapRenderer().Redraw(canvas, map, layers, zoom, shadows, drawshadows);
}

} // namespace halvorn
