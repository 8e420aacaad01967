// The program's renderer against the literal one on busy scenes: every zoom,
// with and without shadows, every layer combination, objects in all eight
// orientations, shadow settings away from the defaults.
#include "oracle/LiteralRenderer.h"
#include "render/Imaging.h"
#include "render/Renderer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace halvorn;

namespace {

// A picture whose every pixel differs, with a see-through corner and a
// half-transparent band, so scaling, turning and blending faults all show.
ImageHandle Picture(int w, int h, int seed, bool holes)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int alpha = 255;
            if (holes && x < w / 4 && y < h / 4)
                alpha = 0;
            else if (holes && y > h * 3 / 4)
                alpha = 90 + x % 60;
            img.setPixel(x, y, qRgba((x * 7 + seed * 40) % 256, (y * 5 + seed * 90) % 256,
                                     (x * y + seed * 13) % 256, alpha));
        }
    return AddImage(img);
}

MapDocument BusyMap(unsigned seed)
{
    std::mt19937 rng(seed);
    MapDocument map;
    const ImageHandle floors[] = {Picture(72, 72, 1, false), Picture(72, 72, 2, true)};
    const ImageHandle walls[] = {Picture(18, 18, 3, false), Picture(18, 18, 4, true)};
    const ImageHandle objects[] = {Picture(37, 23, 5, true), Picture(72, 36, 6, true),
                                   Picture(20, 50, 7, false)};
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            if (rng() % 3 != 0)
                map.SetFloor(x, y, floors[rng() % 2]);
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            if (x % 8 == 0 || y % 12 == 0 || rng() % 9 == 0)
                map.SetWall(x, y, walls[rng() % 2]);
    for (int i = 0; i < 40; ++i) {
        const ImageHandle image = objects[i % 3];
        const Orientation orientation = i % 8;
        int16_t w = static_cast<int16_t>(ImageWidth(image));
        int16_t h = static_cast<int16_t>(ImageHeight(image));
        if (SwapsSides(orientation))
            std::swap(w, h);
        map.AddObject(image, static_cast<float>(rng() % 1100) - 20.0f + 0.5f * (i % 2),
                      static_cast<float>(rng() % 1100) - 20.0f, w, h, orientation);
        if (i % 7 == 3)
            map.ToggleObjectShadow(i);
    }
    map.DeleteObject(11);
    return map;
}

int Difference(const MapDocument& map, const LayerSwitches& layers, float zoom,
               const ShadowParams& shadows, bool drawshadows)
{
    QImage expected(CanvasSize(map, zoom), QImage::Format_RGB32);
    oracle::LiteralRedraw(expected, map, layers, zoom, shadows, drawshadows);
    QImage drawn(CanvasSize(map, zoom), QImage::Format_RGB32);
    Redraw(drawn, map, layers, zoom, shadows, drawshadows);
    return oracle::MaxChannelDifference(drawn, expected);
}

} // namespace

TEST(Oracle, ProductionMatchesAtEveryZoomAndShadowSetting)
{
    const MapDocument map = BusyMap(7);
    LayerSwitches all;
    all.ShowGridLayer = true;
    const ShadowParams settings[] = {{0.4f, 5, 32}, {1.0f, -7, 0}, {0.73f, 12, 255}, {0.0f, 0, 100}};
    for (const float zoom : {1.0f, 0.75f, 0.5f, 0.25f})
        for (const ShadowParams& s : settings)
            for (const bool drawshadows : {true, false})
                EXPECT_LE(Difference(map, all, zoom, s, drawshadows), 1)
                    << "zoom " << zoom << " alpha " << s.ObjectShadowAlpha << " offset "
                    << s.ObjectShadowOffset << " wall " << s.WallShadowAlpha << " shadows " << drawshadows;
}

TEST(Oracle, ProductionMatchesWithEveryLayerCombination)
{
    const MapDocument map = BusyMap(11);
    const float zooms[] = {1.0f, 0.75f, 0.5f, 0.25f};
    for (int bits = 0; bits < 16; ++bits) {
        LayerSwitches layers;
        layers.ShowGridLayer = bits & 1;
        layers.ShowFloorLayer = bits & 2;
        layers.ShowObjectLayer = bits & 4;
        layers.ShowWallLayer = bits & 8;
        layers.ShowBackgroundLayer = bits & 1;
        EXPECT_LE(Difference(map, layers, zooms[bits % 4], ShadowParams{}, true), 1) << "layers " << bits;
    }
}

TEST(Oracle, DifferenceCountsEveryChannelAndSize)
{
    QImage a(4, 3, QImage::Format_ARGB32);
    a.fill(qRgba(10, 20, 30, 40));
    QImage b = a;
    EXPECT_EQ(oracle::MaxChannelDifference(a, b), 0);
    const QRgb changed[] = {qRgba(13, 20, 30, 40), qRgba(10, 15, 30, 40), qRgba(10, 20, 37, 40),
                            qRgba(10, 20, 30, 42)};
    const int expected[] = {3, 5, 7, 2};
    for (int i = 0; i < 4; ++i) {
        b = a;
        b.setPixel(3, 2, changed[i]);
        EXPECT_EQ(oracle::MaxChannelDifference(a, b), expected[i]) << i;
    }
    EXPECT_EQ(oracle::MaxChannelDifference(a, QImage(4, 4, QImage::Format_ARGB32)), INT_MAX);
}
