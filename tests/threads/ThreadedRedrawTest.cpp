// Whole redraws painted by both hands of the band worker, against the
// literal renderer: under ThreadSanitizer this is where the renderer's own
// threads meet the pictures they share.
#include "oracle/LiteralRenderer.h"
#include "render/BusyMap.h"
#include "render/Renderer.h"

#include <gtest/gtest.h>

using namespace halvorn;

TEST(ThreadedRedraw, BothHandsPaintTheLiteralPicture)
{
    const MapDocument map = rendertest::BusyMap(9);
    LayerSwitches layers;
    layers.ShowGridLayer = true;
    MapRenderer renderer;
    for (const float zoom : {1.0f, 0.5f}) {
        QImage canvas(CanvasSize(map, zoom), QImage::Format_RGB32);
        QImage expected(canvas.size(), QImage::Format_RGB32);
        oracle::LiteralRedraw(expected, map, layers, zoom, ShadowParams{}, true);
        // The second time the scaled pictures come as copies kept at their place.
        for (int pass = 0; pass < 2; ++pass) {
            canvas.fill(Qt::red);
            renderer.Redraw(canvas, map, layers, zoom, ShadowParams{}, true);
            EXPECT_EQ(renderer.LastRepaintedRectangles(), -1);
            EXPECT_LE(oracle::MaxChannelDifference(canvas, expected), 1)
                << zoom << " pass " << pass;
        }
    }
}
