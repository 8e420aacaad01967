#include "map/Numeric.h"
#include "render/Imaging.h"
#include "render/Renderer.h"
#include "render/ShadowMatrix.h"

#include "TestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace halvorn;

namespace {

struct Scene {
    MapDocument map;
    LayerSwitches layers;
    ShadowParams shadows;

    QImage Draw(float zoom, bool drawshadows = true)
    {
        QImage canvas(CanvasSize(map, zoom), QImage::Format_RGB32);
        Redraw(canvas, map, layers, zoom, shadows, drawshadows);
        return canvas;
    }
};

ImageHandle Solid(int w, int h, QColor c)
{
    return AddImage(testsupport::SolidImage(w, h, c));
}

QColor At(const QImage& img, int x, int y)
{
    return img.pixelColor(x, y);
}

} // namespace

TEST(Renderer, GridLinesAreTheLastPixelOfEachCell)
{
    Scene s;
    EXPECT_EQ(s.Draw(1).size(), QSize(1080, 1080));
    const QImage white = s.Draw(1);
    EXPECT_EQ(white.pixelColor(71, 71), QColor(Qt::white));
    s.layers.ShowGridLayer = true;
    const struct { float zoom; int line; } rows[] = {{1, 71}, {1, 143}, {1, 1079}, {0.5f, 35},
                                                     {0.75f, 53}, {0.25f, 17}};
    for (const auto& r : rows) {
        const QImage img = s.Draw(r.zoom);
        EXPECT_EQ(At(img, r.line, 3), QColor(Qt::black)) << r.zoom;
        EXPECT_EQ(At(img, 3, r.line), QColor(Qt::black)) << r.zoom;
        EXPECT_EQ(At(img, r.line + 1 < img.width() ? r.line + 1 : r.line - 1, 3),
                  QColor(Qt::white)) << r.zoom;
    }
}

TEST(Renderer, FloorsFillTheirCellsAtEveryZoom)
{
    Scene s;
    s.layers.ShowGridLayer = true;
    s.map.SetFloor(0, 0, Solid(72, 72, Qt::red));
    s.map.SetFloor(2, 3, Solid(72, 72, Qt::blue));
    const QImage half = s.Draw(0.5f);
    EXPECT_EQ(At(half, 0, 0), QColor(Qt::red));
    EXPECT_EQ(At(half, 35, 35), QColor(Qt::red)); // the tile covers the grid
    EXPECT_EQ(At(half, 36, 36), QColor(Qt::white));
    const QImage three = s.Draw(0.75f);
    EXPECT_EQ(At(three, 108, 162), QColor(Qt::blue));
    EXPECT_EQ(At(three, 161, 215), QColor(Qt::blue));
    EXPECT_EQ(At(three, 107, 162), QColor(Qt::black));
    s.layers.ShowFloorLayer = false;
    EXPECT_EQ(At(s.Draw(1), 10, 10), QColor(Qt::white));
}

TEST(Renderer, WallShadowsStackSevenLayersAtFullZoom)
{
    Scene s;
    s.map.SetWall(4, 2, Solid(18, 18, Qt::green));
    const QImage img = s.Draw(1);
    // The piece covers (63..80, 27..44); its shadow reaches 7 pixels beyond.
    EXPECT_EQ(At(img, 70, 36), QColor(Qt::green));
    // Alpha 32 per layer over white: darkest next to the wall, one layer less
    // per pixel outwards.
    int previous = 0;
    for (int x = 82; x <= 87; ++x) {
        const int v = At(img, x, 40).red();
        EXPECT_GT(v, previous) << x;
        previous = v;
    }
    EXPECT_EQ(At(img, 88, 40), QColor(Qt::white));
    const int oneLayer = 255 - RoundToInt(255 * 32 / 255.0);
    EXPECT_NEAR(At(img, 87, 40).red(), oneLayer, 1);
    // Without shadows, only the piece.
    EXPECT_EQ(At(s.Draw(1, false), 84, 40), QColor(Qt::white));
    // At 25 %, three layers: 4.5 pixels each, the piece 5 wide.
    const QImage quarter = s.Draw(0.25f);
    EXPECT_EQ(At(quarter, 17, 8), QColor(Qt::green));
    EXPECT_EQ(At(quarter, 22, 11), QColor(Qt::white));
}

TEST(Renderer, ObjectShadowFallsByTheOffsetUnderTheObject)
{
    Scene s;
    s.map.AddObject(Solid(50, 30, Qt::blue), 100, 40, 50, 30, 0);
    const QImage img = s.Draw(1);
    EXPECT_EQ(At(img, 100, 40), QColor(Qt::blue));
    EXPECT_EQ(At(img, 149, 69), QColor(Qt::blue));
    // Shadow at (105, 45) 50 x 30: nearly black at 40 % over white.
    const QColor shade = At(img, 152, 72);
    EXPECT_NEAR(shade.red(), RoundToInt(255 * 0.6 + 2.55 * 0.4), 2);
    EXPECT_EQ(shade.red(), shade.blue());
    EXPECT_EQ(At(img, 155, 75), QColor(Qt::white));
    EXPECT_EQ(At(img, 104, 72), QColor(Qt::white));
    // At 50 %: shadow at (52, 22) size 25 x 15; object at (50, 20).
    const QImage half = s.Draw(0.5f);
    EXPECT_EQ(At(half, 50, 20), QColor(Qt::blue));
    EXPECT_NE(At(half, 76, 36), QColor(Qt::white));
    EXPECT_EQ(At(half, 77, 37), QColor(Qt::white));
    // No shadow when switched off, while dragging, or for a deleted object.
    s.map.ToggleObjectShadow(0);
    EXPECT_EQ(At(s.Draw(1), 152, 72), QColor(Qt::white));
    s.map.ToggleObjectShadow(0);
    EXPECT_EQ(At(s.Draw(1, false), 152, 72), QColor(Qt::white));
    s.map.AddObject(Solid(10, 10, Qt::red), 0, 0, 10, 10, 0);
    s.map.DeleteObject(0);
    const QImage after = s.Draw(1);
    EXPECT_EQ(At(after, 120, 50), QColor(Qt::white));
    EXPECT_EQ(At(after, 5, 5), QColor(Qt::red));
}

TEST(Renderer, HiddenObjectsStillLeaveWallShadows)
{
    Scene s;
    s.map.AddObject(Solid(20, 20, Qt::blue), 300, 300, 20, 20, 0);
    s.map.SetWall(10, 10, Solid(18, 18, Qt::green));
    s.layers.ShowObjectLayer = false;
    s.layers.ShowBackgroundLayer = false;
    const QImage img = s.Draw(1);
    EXPECT_EQ(At(img, 305, 305), QColor(Qt::white));
    EXPECT_NE(At(img, 190, 190), QColor(Qt::white));
}

TEST(ShadowMatrix, TurnsColoursAlmostBlackAndScalesAlpha)
{
    QImage px(1, 1, QImage::Format_ARGB32);
    px.setPixel(0, 0, qRgba(200, 100, 50, 200));
    const QImage out = ApplyColorMatrix(px, MakeShadowMatrix(0.4f)).convertToFormat(QImage::Format_ARGB32);
    const QRgb p = out.pixel(0, 0);
    EXPECT_EQ(qAlpha(p), 80);
    EXPECT_NEAR(qRed(p), 4, 1); // 0.01 * 350 = 3.5
    EXPECT_EQ(qRed(p), qBlue(p));
}

// Walls are drawn from prepared copies; they must land on the same pixels as
// drawing each shadow square and each scaled piece directly.
TEST(Renderer, WallCopiesMatchDirectDrawingAtEveryZoom)
{
    QImage piece(18, 18, QImage::Format_ARGB32);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x)
            piece.setPixel(x, y, qRgb(20 + 12 * x, 200 - 10 * y, (x * y) % 255));
    QImage holey = piece;
    holey.setPixel(5, 5, qRgba(0, 0, 0, 0));
    const ImageHandle solid = AddImage(piece);
    const ImageHandle holed = AddImage(holey);
    Scene s;
    for (int i = 0; i < 12; ++i)
        s.map.SetWall(i, 3 + i % 2, i % 3 ? solid : holed);
    for (const float z : {1.0f, 0.75f, 0.5f, 0.25f}) {
        const QImage drawn = s.Draw(z);
        QImage expected(drawn.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter p(&expected);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        const float st = 18 * z;
        int first = 9;
        if (z > 0.1f) first = 6;
        if (z > 0.4f) first = 4;
        if (z > 0.8f) first = 2;
        for (int x = 0; x < 12; ++x) {
            const int y = 3 + x % 2;
            const float cx = st * x, cy = st * y;
            for (int n = first; n <= 8; ++n)
                p.fillRect(QRectF(cx - n * z, cy - n * z, st, st), QColor(0, 0, 0, 32));
            p.drawImage(QRectF(cx - 9 * z, cy - 9 * z, st + 0.5f, st + 0.5f), ImageOf(x % 3 ? solid : holed));
        }
        p.end();
        int worst = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y), b = expected.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 1) << "zoom " << z;
    }
}
