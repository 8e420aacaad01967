// The screen picture follows the screen's ratio; the map's own picture, which
// export and printing take, is at every ratio what ratio 1 gives, bit for bit.
#include "render/CanvasPictures.h"
#include "BusyMap.h"

#include <gtest/gtest.h>

#include <functional>

using namespace halvorn;
using namespace rendertest;

TEST(CanvasPictures, TheMapsPictureIsTheOneOfRatioOneAtEveryRatio)
{
    MapDocument map = BusyMap(6);
    LayerSwitches layers;
    float zoom = 1;
    const ShadowParams shadows;
    const ImageHandle tile = Picture(72, 72, 12, false);
    const ImageHandle piece = Picture(18, 18, 13, true);
    CanvasPictures one, two, half;
    // Each step as the main window makes it; `look` when export would read
    // the map's picture after it, so that several redraws can pass unseen.
    // clang-format off
    const struct { const char* what; std::function<void()> change; bool drawshadows, clear, look; } steps[] = {
        {"first redraw", [] {}, true, false, true},
        {"drag paints a floor", [&] { map.SetFloor(3, 4, tile); }, false, false, false},
        {"and a wall", [&] { map.SetWall(9, 20, piece); }, false, false, true},
        {"release", [] {}, true, false, false},
        {"another wall", [&] { map.SetWall(30, 31, piece); }, false, false, false},
        {"and another", [&] { map.SetWall(31, 31, 0); }, false, false, false},
        {"release", [] {}, true, false, true},
        {"turn an object", [&] { map.RotateObjectRight(2); }, true, false, true},
        {"zoom out", [&] { zoom = 0.75f; }, true, false, true},
        {"grid on", [&] { layers.ShowGridLayer = true; }, true, false, false},
        {"drag floors", [&] { map.SetFloor(0, 0, tile); map.SetFloor(14, 14, 0); }, false, false, true},
        {"new map", [&] { map.NewMap(15, 15); zoom = 1; }, true, true, true},
        {"its first redraw", [] {}, true, false, true},
    };
    // clang-format on
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.change();
        for (auto [pictures, ratio] : {std::pair{&one, 1.0f}, {&two, 2.0f}, {&half, 1.5f}}) {
            if (s.clear)
                pictures->Clear(CanvasSize(map, zoom), ratio);
            else
                pictures->Redraw(map, layers, zoom, shadows, s.drawshadows, ratio);
            EXPECT_EQ(pictures->Screen().size(), CanvasSize(map, zoom, ratio));
            EXPECT_EQ(pictures->Screen().devicePixelRatio(), ratio);
        }
        // At ratio 1 the screen's picture is the map's: drawn once.
        EXPECT_EQ(one.MapPicture().cacheKey(), one.Screen().cacheKey());
        if (!s.look)
            continue;
        EXPECT_EQ(one.MapPicture().size(), CanvasSize(map, zoom));
        EXPECT_TRUE(two.MapPicture() == one.MapPicture());
        EXPECT_TRUE(half.MapPicture() == one.MapPicture());
        EXPECT_EQ(two.MapPicture().devicePixelRatio(), 1.0);
    }
}
