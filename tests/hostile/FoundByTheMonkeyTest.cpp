// Faults the monkey found in the picture, each kept as a case of its own
// (wall pieces cut by the canvas edge: Oracle.WallPiecesOverTheCanvasEdgeMatch).
#include "TestSupport.h"
#include "imaging/Imaging.h"
#include "oracle/LiteralRenderer.h"
#include "render/Renderer.h"

#include <gtest/gtest.h>

using namespace halvorn;

namespace {

// A wall picture far larger than its piece (a 300 x 50 object picked from a
// wall folder that pointed at the objects): the raster engine's sampling of
// a strong reduction depends on where on the canvas it lands, so a piece
// prepared once per sub-pixel phase was 2 of 255 off in the middle of the
// map (soak seed 3945694572, operation 9285).
TEST(FoundByTheMonkey, WallPiecesOfEveryPictureSizeMatchTheOracle)
{
    InitGdip();
    const QSize sizes[] = {{18, 18}, {17, 19}, {24, 24}, {36, 30}, {72, 72}, {150, 20}, {300, 50}};
    int seed = 11;
    for (const QSize size : sizes) {
        const ImageHandle handle = AddImage(testsupport::Picture(
            size.width(), size.height(), seed++, testsupport::Alpha::Translucent));
        MapDocument map;
        map.NewMap(15, 15);
        // Far apart, so each piece is judged on its own, across the map.
        for (int x = 1; x < 61; x += 4)
            for (int y = 1 + x % 8; y < 61; y += 9)
                map.SetWall(x, y, handle);
        for (const float zoom : {0.25f, 0.5f, 0.75f, 1.0f})
            for (const bool shadows : {false, true}) {
                SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height()
                                                << ", zoom " << zoom << ", shadows " << shadows);
                QImage canvas(CanvasSize(map, zoom), QImage::Format_RGB32);
                QImage expected = canvas;
                MapRenderer().Redraw(canvas, map, LayerSwitches{}, zoom, ShadowParams{}, shadows);
                oracle::LiteralRedraw(expected, map, LayerSwitches{}, zoom, ShadowParams{},
                                      shadows);
                EXPECT_LE(oracle::MaxChannelDifference(canvas, expected), 1);
            }
    }
}

} // namespace
