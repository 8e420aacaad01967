#include "render/Renderer.h"

#include "map/Numeric.h"
#include "render/BandWorker.h"
#include "render/ShadeTable.h"
#include "render/SpriteCache.h"
#include "render/Stamps.h"

#include <algorithm>
#include <vector>

namespace halvorn {

QSize CanvasSize(const MapDocument& map, float zoom, float ratio)
{
    const float scale = zoom * ratio;
    return {RoundToInt(map.MapWidth() * static_cast<float>(CellSize) * scale),
            RoundToInt(map.MapHeight() * static_cast<float>(CellSize) * scale)};
}

namespace {

// Rows per band. Qt 6.4's raster engine splits a blend of `spans` spans
// into (spans + 32) / 64 parts and hands them to its GUI thread pool when
// there are two or more (QT_THREAD_PARALLEL_FILLS in qdrawhelper.cpp), that
// is from 96 spans on; a draw clipped to one band makes at most one span per
// row, so it stays on the thread that makes it.
constexpr int BandRows = 64;
constexpr int QtSpansPerPoolPart = 64;
static_assert((BandRows + QtSpansPerPoolPart / 2) / QtSpansPerPoolPart < 2,
              "a band's draw must stay below Qt's thread-pool threshold");
// More changed rectangles than this, or more than this share of the canvas,
// and one whole redraw is cheaper.
constexpr int MostRectangles = 48;
constexpr int64_t MostAreaDivisor = 3;

bool SameLayers(const LayerSwitches& a, const LayerSwitches& b)
{
    return a.ShowGridLayer == b.ShowGridLayer && a.ShowFloorLayer == b.ShowFloorLayer &&
           a.ShowObjectLayer == b.ShowObjectLayer && a.ShowWallLayer == b.ShowWallLayer;
}

bool SameShadows(const ShadowParams& a, const ShadowParams& b)
{
    return a.ObjectShadowAlpha == b.ObjectShadowAlpha &&
           a.ObjectShadowOffset == b.ObjectShadowOffset && a.WallShadowAlpha == b.WallShadowAlpha;
}

bool SameObject(const PlacedObject& a, const PlacedObject& b)
{
    return a.X == b.X && a.Y == b.Y && a.Width == b.Width && a.Height == b.Height &&
           a.Image == b.Image && a.orientation == b.orientation && a.Shadow == b.Shadow;
}

std::vector<ImageHandle> FloorCells(const MapDocument& map)
{
    std::vector<ImageHandle> cells;
    cells.reserve(static_cast<size_t>(map.FloorColumns()) * map.FloorRows());
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            cells.push_back(map.FloorAt(x, y));
    return cells;
}

std::vector<ImageHandle> WallPoints(const MapDocument& map)
{
    std::vector<ImageHandle> points;
    points.reserve(static_cast<size_t>(map.WallColumns()) * map.WallRows());
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            points.push_back(map.WallAt(x, y));
    return points;
}

} // namespace

// What the canvas shows since the last redraw, to tell what a change reaches.
struct MapRenderer::Shown {
    int64_t canvasKey = 0;
    QSize size;
    float zoom = 0;
    float ratio = 0;
    LayerSwitches layers;
    ShadowParams shadows;
    bool drawshadows = false;
    int floorRows = 0, wallRows = 0;
    std::vector<ImageHandle> floors;
    std::vector<ImageHandle> walls;
    std::vector<PlacedObject> objects;

    bool Matches(const QImage& canvas, const MapDocument& map, const LayerSwitches& l, float z,
                 float r, const ShadowParams& s, bool d) const
    {
        return canvas.cacheKey() == canvasKey && canvas.size() == size && z == zoom && r == ratio &&
               SameLayers(l, layers) && SameShadows(s, shadows) && d == drawshadows &&
               map.FloorRows() == floorRows && map.WallRows() == wallRows &&
               static_cast<size_t>(map.FloorColumns()) * map.FloorRows() == floors.size() &&
               static_cast<size_t>(map.WallColumns()) * map.WallRows() == walls.size();
    }

    // The rectangles the differences between the map and what is shown can
    // reach; false when they are too many to be worth repainting one by one.
    bool Changes(const MapDocument& map, std::vector<QRect>& out) const
    {
        const QRect canvas(QPoint(0, 0), size);
        int64_t area = 0;
        const auto add = [&](QRect r) {
            r &= canvas;
            if (r.isEmpty())
                return true;
            out.push_back(r);
            area += static_cast<int64_t>(r.width()) * r.height();
            return static_cast<int>(out.size()) <= MostRectangles &&
                   area * MostAreaDivisor <= static_cast<int64_t>(size.width()) * size.height();
        };
        const float scale = zoom * ratio;
        size_t i = 0;
        for (int x = 0; x < map.FloorColumns(); ++x)
            for (int y = 0; y < map.FloorRows(); ++y, ++i)
                if (map.FloorAt(x, y) != floors[i] && !add(FloorReach(scale, x, y)))
                    return false;
        i = 0;
        for (int x = 0; x < map.WallColumns(); ++x)
            for (int y = 0; y < map.WallRows(); ++y, ++i)
                if (map.WallAt(x, y) != walls[i] && !add(WallReach(scale, x, y)))
                    return false;
        // A changed object redraws the whole map. Its rectangles repainted
        // alone came out up to 12 of 255 off the whole picture where other
        // scaled objects and far shadows overlap them (seeds 4280027327 and
        // 2195427709 of the random-use tester), and an object changes once
        // per click, never during a drag, so a whole redraw costs little.
        const std::vector<PlacedObject>& now = map.Objects();
        if (now.size() != objects.size())
            return false;
        for (size_t k = 0; k + 1 < now.size(); ++k)
            if (!SameObject(objects[k], now[k]))
                return false;
        return true;
    }
};

MapRenderer::MapRenderer(RenderShortcuts shortcuts)
    : shortcuts_(shortcuts), sprites_(std::make_unique<SpriteCache>()),
      worker_(std::make_unique<BandWorker>())
{
}

MapRenderer::~MapRenderer() = default;

void MapRenderer::SetShortcuts(RenderShortcuts shortcuts)
{
    if (shortcuts == shortcuts_)
        return;
    shortcuts_ = shortcuts;
    shown_.reset();
}

void MapRenderer::Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers,
                         float zoom, const ShadowParams& shadows, bool drawshadows, float ratio)
{
    // Pixels are written directly, so the canvas keeps 32-bit pixels.
    if (canvas.format() != QImage::Format_RGB32 &&
        canvas.format() != QImage::Format_ARGB32_Premultiplied)
        canvas = canvas.convertToFormat(QImage::Format_RGB32);
    // The one decision of which shortcuts this redraw takes (Shortcuts.h).
    std::vector<QRect> changed;
    RedrawFacts facts;
    facts.fewChanges = shown_ &&
                       shown_->Matches(canvas, map, layers, zoom, ratio, shadows, drawshadows) &&
                       shown_->Changes(map, changed);
    facts.shadowLayers = DrawsWallShadowLayers(zoom, shadows, drawshadows);
    const RenderShortcuts taken = shortcuts_.TakenFor(facts);
    // Prepared pictures are in device pixels, r x r times the bytes of the
    // same pictures at ratio 1: a budget that stayed put would drop the
    // floors' scaled copies of a 200 % screen before their next use and make
    // them afresh on every redraw (a whole redraw of a dungeon 8 times
    // slower). What is kept for one ratio is of no use at another.
    const auto budget =
        static_cast<std::size_t>(static_cast<double>(SpriteCache::ByteBudget) * ratio * ratio);
    if (sprites_->Budget() != budget)
        sprites_ = std::make_unique<SpriteCache>(budget);
    const int layerAlpha = std::clamp<int>(shadows.WallShadowAlpha, 0, 255);
    if (!shade_ || shade_->Alpha() != layerAlpha)
        shade_ = std::make_unique<ShadeTable>(layerAlpha);
    const View view{map, layers, zoom, ratio, shadows, drawshadows, canvas.size(), taken};
    {
        const SpriteCache::RedrawScope redraw(*sprites_);
        if (taken.On(Shortcut::Partial)) {
            DrawChanged(canvas, view, changed);
            lastRects_ = static_cast<int>(changed.size());
        } else {
            DrawWhole(canvas, view);
            lastRects_ = -1;
        }
        stamps_.clear();
    }

    if (!shown_)
        shown_ = std::make_unique<Shown>();
    Shown& s = *shown_;
    s.canvasKey = canvas.cacheKey();
    s.size = canvas.size();
    s.zoom = zoom;
    s.ratio = ratio;
    s.layers = layers;
    s.shadows = shadows;
    s.drawshadows = drawshadows;
    s.floorRows = map.FloorRows();
    s.wallRows = map.WallRows();
    s.floors = FloorCells(map);
    s.walls = WallPoints(map);
    s.objects = map.Objects();
}

void MapRenderer::DrawChanged(QImage& canvas, const View& view, const std::vector<QRect>& changed)
{
    uchar* bits = canvas.bits();
    std::vector<Stamp>& stamps = stamps_;
    std::vector<int> all;
    std::vector<WhiteRun> white;
    std::vector<QRect> parts;
    for (const QRect& r : changed) {
        stamps.clear();
        CollectStamps(view, r, *sprites_, stamps);
        all.resize(stamps.size());
        for (size_t k = 0; k < all.size(); ++k)
            all[k] = static_cast<int>(k);
        white.clear();
        KeepVisible(stamps, all, r, parts, white, view.taken);
        UseScaledCopies(stamps, all, canvas.size(), *sprites_, view.taken);
        // A tall rectangle in strips, so no draw reaches Qt's thread pool.
        for (int top = r.top(); top <= r.bottom(); top += BandRows) {
            const QRect strip(r.left(), top, r.width(), std::min(BandRows, r.bottom() + 1 - top));
            std::vector<WhiteRun> stripWhite;
            for (const WhiteRun& run : white)
                if (run.y >= strip.top() && run.y <= strip.bottom())
                    stripWhite.push_back(run);
            PaintArea(bits, canvas.bytesPerLine(), canvas.format(), canvas.size(), strip,
                      stripWhite, stamps, all, parts, *shade_);
        }
    }
}

void MapRenderer::DrawWhole(QImage& canvas, const View& view)
{
    uchar* bits = canvas.bits();
    const QRect whole = canvas.rect();
    std::vector<Stamp>& stamps = stamps_;
    stamps.clear();
    CollectStamps(view, whole, *sprites_, stamps);
    const int bands = (canvas.height() + BandRows - 1) / BandRows;
    std::vector<std::vector<int>> perBand(static_cast<size_t>(bands));
    for (size_t k = 0; k < stamps.size(); ++k) {
        const QRect r = stamps[k].bounds & whole;
        if (r.isEmpty())
            continue;
        for (int b = r.top() / BandRows; b <= r.bottom() / BandRows; ++b)
            perBand[static_cast<size_t>(b)].push_back(static_cast<int>(k));
    }
    const auto band = [&](int b) {
        const int top = b * BandRows;
        return QRect(0, top, canvas.width(), std::min(BandRows, canvas.height() - top));
    };
    // Both hands find what each band shows, then the copies scaled in place
    // are fetched once (the cache is not shared between threads), then both
    // hands paint.
    std::vector<std::vector<WhiteRun>> white(static_cast<size_t>(bands));
    std::vector<std::vector<QRect>> parts(static_cast<size_t>(bands));
    RunBands(view.taken, bands, [&](int b) {
        const auto i = static_cast<size_t>(b);
        KeepVisible(stamps, perBand[i], band(b), parts[i], white[i], view.taken);
    });
    std::vector<int> scaled;
    for (const std::vector<int>& ids : perBand)
        for (const int k : ids)
            if (stamps[static_cast<size_t>(k)].kind == Stamp::Scaled)
                scaled.push_back(k);
    std::sort(scaled.begin(), scaled.end());
    scaled.erase(std::unique(scaled.begin(), scaled.end()), scaled.end());
    UseScaledCopies(stamps, scaled, canvas.size(), *sprites_, view.taken);
    RunBands(view.taken, bands, [&](int b) {
        const auto i = static_cast<size_t>(b);
        PaintArea(bits, canvas.bytesPerLine(), canvas.format(), canvas.size(), band(b), white[i],
                  stamps, perBand[i], parts[i], *shade_);
    });
}

void MapRenderer::RunBands(RenderShortcuts taken, int count, const std::function<void(int)>& paint)
{
    if (taken.On(Shortcut::Threads)) {
        worker_->Run(count, paint);
        return;
    }
    for (int b = 0; b < count; ++b)
        paint(b);
}

void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
            const ShadowParams& shadows, bool drawshadows, RenderShortcuts shortcuts, float ratio)
{
    MapRenderer(shortcuts).Redraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
}

} // namespace halvorn
