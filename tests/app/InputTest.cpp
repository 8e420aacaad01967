// Mouse input on the map as the window system delivers it: presses without a
// picture or without a mode (double-clicks and right clicks over objects:
// tests/app/EditingTest.cpp).
#include "AppFixture.h"
#include "hostile/MapSnapshot.h"

namespace apptest {

// Without a mode every button's release still redraws the whole map once;
// a kind without a picture changes nothing either.
TEST_F(AppFixture, PressesWithoutAModeOrAPictureChangeNothing)
{
    // clang-format off
    const struct { const char* name; std::function<void()> choose; const char* status; } rows[] = {
        {"no mode", [] {}, ""},
        {"floor", [&] { ChooseKind("FloorBox"); }, "Mode = Tile"},
        {"wall", [&] { ChooseKind("WallBox"); }, "Mode = Wall"},
        {"object", [&] { QTest::mouseClick(Find("btnRotateRight"), Qt::LeftButton); }, "Mode = Object"},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        r.choose();
        EXPECT_EQ(Panel("Panel3"), QLatin1String(r.status));
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            const int full = window->RedrawCount(true), quick = window->RedrawCount(false);
            Press(button, {100, 100});
            Move({200, 100}, button);
            Release(button, {200, 100});
            if (!*r.status) {
                EXPECT_EQ(window->RedrawCount(true), full + 1);
                EXPECT_EQ(window->RedrawCount(false), quick);
                EXPECT_FALSE(Find("Cursor")->isVisible());
            }
        }
        // Every cell, wall point and object slot as on a new map.
        EXPECT_TRUE(hostile::MapSnapshot::Of(window->Map()) == hostile::MapSnapshot::Of({}));
        EXPECT_TRUE(window->Map().MapSaved());
    }
}

TEST_F(AppFixture, ZoomInObjectModeBeforeAnyObjectEmptiesTheMarker)
{
    auto* marker = Find<FootprintMarker>("Cursor");
    QTest::mouseClick(Find("btnFlipHorizontal"), Qt::LeftButton);
    Move({300, 300});
    ASSERT_TRUE(marker->isVisible());
    EXPECT_EQ(marker->Size(), QSizeF(72, 72)); // the mode alone keeps the size
    Action("mnuZoomOut")->trigger();
    EXPECT_EQ(marker->Size(), QSizeF(0, 0));
    Move({300, 300});
    // Nothing of the marker shows on the canvas.
    const QImage seen =
        Canvas()->grab(QRect(marker->pos() - QPoint(40, 40), QSize(80, 80))).toImage();
    for (int y = 0; y < seen.height(); ++y)
        for (int x = 0; x < seen.width(); ++x)
            ASSERT_NE(seen.pixelColor(x, y), QColor(0, 0, 255)) << x << "," << y;
    // It comes back with its size at the next pick.
    Pick(BrushKind::Object, 0);
    EXPECT_EQ(marker->Size(), QSizeF(30, 15));
}

} // namespace apptest
