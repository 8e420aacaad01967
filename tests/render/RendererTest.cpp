// Exact pixels of a redraw. Every case runs against the literal renderer and
// the program's with all its shortcuts, so a fault in either shows here; the
// program's with each shortcut off is compared with the literal picture in
// OracleTest.cpp and IncrementalTest.cpp.
#include "render/Renderer.h"
#include "imaging/Imaging.h"
#include "map/Numeric.h"
#include "oracle/LiteralRenderer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace halvorn;

namespace {

// The literal renderer (true) or the program's.
class Renderers : public ::testing::TestWithParam<bool> {
protected:
    MapDocument map;
    LayerSwitches layers;
    ShadowParams shadows;

    QImage Draw(float zoom, bool drawshadows = true, float ratio = 1.0f)
    {
        QImage canvas(CanvasSize(map, zoom, ratio), QImage::Format_RGB32);
        if (GetParam())
            oracle::LiteralRedraw(canvas, map, layers, zoom, shadows, drawshadows, ratio);
        else
            Redraw(canvas, map, layers, zoom, shadows, drawshadows, RenderShortcuts(), ratio);
        return canvas;
    }
};

INSTANTIATE_TEST_SUITE_P(Every, Renderers, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "literal" : "production"; });

ImageHandle Solid(int w, int h, QColor c)
{
    return AddImage(testsupport::SolidImage(w, h, c));
}

QRgb At(const QImage& img, int x, int y)
{
    return img.pixel(x, y) | 0xFF000000u;
}

// White under k wall shadow layers of alpha 32, as a grey level.
int UnderLayers(int k)
{
    return RoundToInt(255 * std::pow(223.0 / 255.0, k));
}

} // namespace

TEST_P(Renderers, GridLinesAreTheLastPixelOfEachCell)
{
    EXPECT_EQ(At(Draw(1), 71, 71), qRgb(255, 255, 255));
    layers.ShowGridLayer = true;
    for (const float zoom : {1.0f, 0.75f, 0.5f, 0.25f}) {
        const QImage img = Draw(zoom);
        const int cell = RoundToInt(72 * zoom);
        for (int x = 0; x < img.width(); ++x) {
            const bool line = (x + 1) % cell == 0;
            // Lines span the whole canvas, ends included.
            for (const int y : {0, 3, img.height() - 1})
                ASSERT_EQ(At(img, x, y),
                          line || (y + 1) % cell == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                    << zoom << " at " << x << "," << y;
            ASSERT_EQ(At(img, 3, x), line ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                << zoom << " row " << x;
        }
    }
}

TEST_P(Renderers, FloorsFillTheirCellsAtEveryZoom)
{
    layers.ShowGridLayer = true;
    map.SetFloor(0, 0, Solid(72, 72, Qt::red));
    map.SetFloor(2, 3, Solid(72, 72, Qt::blue));
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), black = qRgb(0, 0, 0);
    // A floor covers the grid.
    // clang-format off
    const struct { float zoom; int x, y; QRgb colour; } rows[] = {
        {0.5f, 0, 0, red}, {0.5f, 35, 35, red}, {0.5f, 36, 36, qRgb(255, 255, 255)}, {0.5f, 35, 36, black},
        {0.75f, 108, 162, blue}, {0.75f, 161, 215, blue}, {0.75f, 107, 162, black}, {0.75f, 162, 216, qRgb(255, 255, 255)},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(At(Draw(r.zoom), r.x, r.y), r.colour) << r.zoom << " at " << r.x << "," << r.y;
    layers.ShowFloorLayer = false;
    EXPECT_EQ(At(Draw(1), 10, 10), qRgb(255, 255, 255));
}

// On a HiDPI screen the picture is the 1x one with more pixels: a grid line
// is the ratio's whole number of device pixels before the cell edge, floor
// cells of a fractional size tile without a seam, and the wall shadow keeps
// the zoom's layers, one canvas pixel apart.
TEST_P(Renderers, TheScreensRatioScalesEveryPixelQuantity)
{
    layers.ShowGridLayer = true;
    map.SetFloor(0, 1, Solid(72, 72, Qt::red));
    map.SetFloor(1, 1, Solid(72, 72, Qt::blue));
    map.SetWall(4, 2, Solid(18, 18, Qt::green));
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0);
    const int none = -1;
    // `layers` >= 0: the grey of that many wall shadow layers instead of a colour.
    // clang-format off
    const struct { float ratio, zoom; int x, y; QRgb colour; int layers; } rows[] = {
        {2, 1, 141, 3, white, none}, {2, 1, 142, 3, black, none}, {2, 1, 143, 3, black, none}, {2, 1, 144, 3, white, none},
        {1.5f, 0.5f, 51, 3, white, none}, {1.5f, 0.5f, 52, 3, black, none}, {1.5f, 0.5f, 53, 3, black, none},
        {1.25f, 0.75f, 66, 3, white, none}, {1.25f, 0.75f, 67, 3, black, none}, {1.25f, 0.75f, 68, 3, white, none},
        // 22.5 device pixels a cell: edges at 0, 22, 45, 68.
        {1.25f, 0.25f, 21, 30, red, none}, {1.25f, 0.25f, 22, 30, blue, none}, {1.25f, 0.25f, 44, 30, blue, none},
        {1.25f, 0.25f, 44, 23, blue, none}, {1.25f, 0.25f, 45, 30, white, none},
        // The piece covers device columns 126..162; seven layers, two pixels each.
        {2, 1, 162, 80, green, none}, {2, 1, 164, 80, 0, 6}, {2, 1, 165, 80, 0, 6}, {2, 1, 166, 80, 0, 5}, {2, 1, 175, 80, 0, 1},
        {2, 1, 176, 80, white, none},
        // At 50 % on a 200 % screen: 1x geometry, the 50 % view's five layers.
        {2, 0.5f, 81, 40, green, none}, {2, 0.5f, 82, 40, 0, 4}, {2, 0.5f, 85, 40, 0, 1}, {2, 0.5f, 86, 40, white, none},
    };
    // clang-format on
    for (const auto& r : rows) {
        const QImage img = Draw(r.zoom, true, r.ratio);
        ASSERT_EQ(img.size(),
                  QSize(RoundToInt(1080 * r.zoom * r.ratio), RoundToInt(1080 * r.zoom * r.ratio)));
        const QRgb p = At(img, r.x, r.y);
        const std::string where = std::to_string(r.ratio) + " " + std::to_string(r.zoom) + " at " +
                                  std::to_string(r.x) + "," + std::to_string(r.y);
        if (r.layers == none)
            EXPECT_EQ(p, r.colour) << where;
        else
            EXPECT_NEAR(qRed(p), UnderLayers(r.layers), 1) << where;
    }
}

// A see-through piece at wall point (4, 0) shows its seven shadow squares:
// 18 x 18 at (72 - n, -n) for n = 2..8, each one more layer of alpha 32.
TEST_P(Renderers, WallPieceAtFourZeroCastsSevenSquares)
{
    map.SetWall(4, 0, Solid(18, 18, Qt::transparent));
    const QImage img = Draw(1);
    for (int y = 0; y < 30; ++y) {
        for (int x = 50; x < 100; ++x) {
            int layersHere = 0;
            for (int n = 2; n <= 8; ++n)
                layersHere += x >= 72 - n && x < 90 - n && y >= -n && y < 18 - n;
            const int grey = UnderLayers(layersHere);
            const QRgb p = At(img, x, y);
            ASSERT_NEAR(qRed(p), grey, 1) << x << "," << y;
            ASSERT_EQ(qRed(p), qBlue(p));
        }
    }
}

TEST_P(Renderers, WallShadowsFadeOneLayerPerPixel)
{
    map.SetWall(4, 2, Solid(18, 18, Qt::green));
    const QImage img = Draw(1);
    // The piece covers (63..80, 27..44).
    EXPECT_EQ(At(img, 63, 27), qRgb(0, 255, 0));
    EXPECT_EQ(At(img, 80, 44), qRgb(0, 255, 0));
    // Right of it, the layers of WallPieceAtFourZeroCastsSevenSquares.
    EXPECT_NEAR(qRed(At(img, 84, 40)), UnderLayers(4), 1);
    EXPECT_EQ(At(Draw(1, false), 84, 40), qRgb(255, 255, 255));
    // At 25 %, three layers of 4.5 pixels; the piece is drawn 5 wide.
    const QImage quarter = Draw(0.25f);
    EXPECT_EQ(At(quarter, 17, 8), qRgb(0, 255, 0));
    EXPECT_EQ(At(quarter, 22, 11), qRgb(255, 255, 255));
    shadows.WallShadowAlpha = 0;
    EXPECT_EQ(At(Draw(1), 84, 40), qRgb(255, 255, 255));
    shadows.WallShadowAlpha = 255;
    EXPECT_EQ(At(Draw(1), 84, 40), qRgb(0, 0, 0));
}

TEST_P(Renderers, ObjectShadowFallsByTheOffsetUnderTheObject)
{
    // Shadow colour: 0.01 * (60 + 120 + 240) = 4.2 -> 4 at alpha 0.4 * 255 = 102,
    // over white: 4 * 0.4 + 255 * 0.6 = 154.6.
    map.AddObject(Solid(50, 30, QColor(60, 120, 240)), 100, 40, 50, 30, 0);
    const QImage img = Draw(1);
    // clang-format off
    const struct { int x, y; int red; } rows[] = {
        {100, 40, 60}, {149, 69, 60}, {150, 70, 155}, {154, 74, 155}, {155, 75, 255}, {104, 72, 255}, {105, 70, 155}, {150, 44, 255}, {150, 45, 155},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_NEAR(qRed(At(img, r.x, r.y)), r.red, 1) << r.x << "," << r.y;
    // A negative offset puts it above-left.
    shadows.ObjectShadowOffset = -4;
    EXPECT_NEAR(qRed(At(Draw(1), 96, 36)), 155, 1);
    shadows.ObjectShadowOffset = 5;
    // No shadow when switched off, while dragging, or for a deleted object.
    map.ToggleObjectShadow(0);
    EXPECT_EQ(At(Draw(1), 152, 72), qRgb(255, 255, 255));
    map.ToggleObjectShadow(0);
    EXPECT_EQ(At(Draw(1, false), 152, 72), qRgb(255, 255, 255));
    map.AddObject(Solid(10, 10, Qt::red), 0, 0, 10, 10, 0);
    map.DeleteObject(0);
    const QImage after = Draw(1);
    EXPECT_EQ(At(after, 120, 50), qRgb(255, 255, 255));
    EXPECT_EQ(At(after, 5, 5), qRgb(255, 0, 0));
}

TEST_P(Renderers, HiddenObjectsStillLeaveWallShadows)
{
    map.AddObject(Solid(20, 20, Qt::blue), 300, 300, 20, 20, 0);
    map.SetWall(10, 10, Solid(18, 18, Qt::green));
    layers.ShowObjectLayer = false;
    layers.ShowBackgroundLayer = false;
    const QImage img = Draw(1);
    EXPECT_EQ(At(img, 305, 305), qRgb(255, 255, 255));
    EXPECT_NEAR(qRed(At(img, 190, 190)), UnderLayers(6), 1);
}
