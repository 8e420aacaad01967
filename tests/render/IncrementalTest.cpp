// A renderer that repaints only what a change reaches must leave the canvas
// exactly as the literal renderer draws the whole map, edit after edit.
#include "BusyMap.h"
#include "ShortcutSets.h"
#include "oracle/LiteralRenderer.h"
#include "render/Renderer.h"
#include "render/SpriteCache.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

using namespace halvorn;
using namespace rendertest;

namespace {

struct Edit {
    const char* name;
    void (*apply)(MapDocument&, std::mt19937&, const std::vector<ImageHandle>&);
};

int AnyObject(const MapDocument& map, std::mt19937& rng)
{
    return static_cast<int>(rng() % (map.Objects().size() - 1));
}

using Pictures = std::vector<ImageHandle>;
// clang-format off
const Edit Edits[] = {
    {"floor", [](MapDocument& m, std::mt19937& r, const Pictures& p) { m.SetFloor(r() % 16, r() % 16, r() % 4 ? p[r() % p.size()] : 0); }},
    {"wall", [](MapDocument& m, std::mt19937& r, const Pictures& p) { m.SetWall(r() % 62, r() % 62, r() % 4 ? p[r() % p.size()] : 0); }},
    {"place", [](MapDocument& m, std::mt19937& r, const Pictures& p) {
         const ImageHandle image = p[r() % p.size()];
         const Orientation o = static_cast<Orientation>(r() % 8);
         int16_t w = static_cast<int16_t>(ImageWidth(image)), h = static_cast<int16_t>(ImageHeight(image));
         if (SwapsSides(o))
             std::swap(w, h);
         m.AddObject(image, static_cast<float>(r() % 1120) - 30.5f, static_cast<float>(r() % 1120) - 30, w, h, o);
     }},
    {"delete", [](MapDocument& m, std::mt19937& r, const Pictures&) { m.DeleteObject(AnyObject(m, r)); }},
    {"turn", [](MapDocument& m, std::mt19937& r, const Pictures&) { m.RotateObjectRight(AnyObject(m, r)); }},
    {"flip", [](MapDocument& m, std::mt19937& r, const Pictures&) { m.FlipObjectVertically(AnyObject(m, r)); }},
    {"shadow", [](MapDocument& m, std::mt19937& r, const Pictures&) { m.ToggleObjectShadow(AnyObject(m, r)); }},
};
// clang-format on

} // namespace

class IncrementalRedraw : public ::testing::TestWithParam<ShortcutSet> {};

INSTANTIATE_TEST_SUITE_P(Shortcuts, IncrementalRedraw, ::testing::ValuesIn(RenderShortcutSets()),
                         SetName);

TEST_P(IncrementalRedraw, EveryEditLeavesTheWholeMapsPicture)
{
    const bool partial = GetParam().shortcuts.On(Shortcut::Partial);
    const std::vector<ImageHandle> pictures = {Picture(72, 72, 8, false), Picture(18, 18, 9, true),
                                               Picture(41, 29, 10, true),
                                               Picture(72, 72, 11, true)};
    LayerSwitches layers;
    layers.ShowGridLayer = true;
    const ShadowParams shadows{0.6f, -3, 40};
    std::mt19937 rng(5);
    // Screen ratios too: what a change reaches is in device pixels.
    const struct {
        float zoom, ratio;
    } views[] = {{1, 1}, {0.75f, 1}, {0.5f, 1}, {0.25f, 1}, {1, 2}, {0.75f, 1.25f}, {0.5f, 1.5f}};
    for (const auto [zoom, ratio] : views) {
        const bool drawshadows = zoom != 0.5f;
        MapDocument map = BusyMap(3);
        QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
        QImage expected(canvas.size(), QImage::Format_RGB32);
        MapRenderer renderer(GetParam().shortcuts);
        renderer.Redraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
        EXPECT_EQ(renderer.LastRepaintedRectangles(), -1);
        renderer.Redraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
        EXPECT_EQ(renderer.LastRepaintedRectangles(), partial ? 0 : -1) << "nothing changed";
        // All shortcuts on make the long run; each choice off a shorter one,
        // and the larger pictures of a HiDPI screen a shorter one still.
        const int steps =
            (GetParam().shortcuts == RenderShortcuts() ? 24 : 8) / (ratio == 1 ? 1 : 2);
        for (int step = 0; step < steps; ++step) {
            const Edit& edit = Edits[rng() % std::size(Edits)];
            edit.apply(map, rng, pictures);
            renderer.Redraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
            EXPECT_LE(renderer.LastRepaintedRectangles(), 2) << edit.name;
            // Floors and walls repaint in place, even during a drag.
            if (edit.name == std::string_view("floor") || edit.name == std::string_view("wall")) {
                EXPECT_EQ(renderer.LastRepaintedRectangles() >= 0, partial) << edit.name;
            }
            oracle::LiteralRedraw(expected, map, layers, zoom, shadows, drawshadows, ratio);
            ASSERT_LE(oracle::MaxChannelDifference(canvas, expected), 1)
                << "zoom " << zoom << " ratio " << ratio << " step " << step << " " << edit.name;
        }
    }
}

TEST_P(IncrementalRedraw, AnythingButTheMapChangingDrawsTheWholeMap)
{
    MapDocument map = BusyMap(4);
    LayerSwitches layers;
    ShadowParams shadows;
    QImage canvas(CanvasSize(map, 1.0f), QImage::Format_RGB32);
    QImage expected(canvas.size(), QImage::Format_RGB32);
    MapRenderer renderer(GetParam().shortcuts);
    renderer.Redraw(canvas, map, layers, 1.0f, shadows, true);
    // clang-format off
    const struct { const char* what; std::function<void()> change; bool drawshadows; } rows[] = {
        {"drag drops shadows", [] {}, false}, {"release brings them back", [] {}, true},
        {"canvas cleared by someone else", [&] { canvas.fill(Qt::white); }, true}, {"layer switch", [&] { layers.ShowGridLayer = true; }, true},
        {"object shadow strength", [&] { shadows.ObjectShadowAlpha = 0.9f; }, true}, {"object shadow offset", [&] { shadows.ObjectShadowOffset = -6; }, true},
        {"wall shadow strength", [&] { shadows.WallShadowAlpha = 255; }, true}, {"new map", [&] { map.NewMap(15, 15); }, true},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        r.change();
        renderer.Redraw(canvas, map, layers, 1.0f, shadows, r.drawshadows);
        EXPECT_EQ(renderer.LastRepaintedRectangles(), -1);
        oracle::LiteralRedraw(expected, map, layers, 1.0f, shadows, r.drawshadows);
        EXPECT_LE(oracle::MaxChannelDifference(canvas, expected), 1);
    }
}

// The prepared pictures stay within their byte budget, and a redraw's
// pictures stay usable until it ends even when the budget drops them.
TEST(SpriteCache, KeepsWithinItsBudget)
{
    SpriteCache cache(100 * 1024);
    {
        const SpriteCache::RedrawScope redraw(cache);
        std::vector<const QImage*> used;
        for (int i = 0; i < 40; ++i) {
            used.push_back(cache.Silhouette(Picture(72, 72, i, true), 0, 0.4f));
            EXPECT_LE(cache.Bytes(), cache.Budget()) << i;
        }
        EXPECT_EQ(used.front()->size(), QSize(72, 72));
        EXPECT_NE(used.front()->pixel(71, 71), 0u);
    }
    EXPECT_LE(cache.Bytes(), std::size_t{100 * 1024});
    EXPECT_GE(cache.Bytes(), std::size_t{4 * 72 * 72 * 4});
}
