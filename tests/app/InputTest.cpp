// Mouse input on the map as the window system delivers it: double-clicks,
// presses without a picture or without a mode, right clicks over objects.
#include "AppFixture.h"
#include "hostile/MapSnapshot.h"

#include <QApplication>
#include <QTimer>

namespace apptest {

// A double-click is delivered as a press, a release, a press with a
// double-click and a release: only the first press runs the tool (no mode at
// all: the monkey's double-clicks), and each release redraws the map.
TEST_F(AppFixture, DoubleClickOnTheMapRunsTheToolOnlyForTheFirstPress)
{
    PickObject();
    const size_t objects = window->Map().Objects().size();
    const int full = window->RedrawCount(true);
    const QPoint at(200, 150);
    QTest::mouseMove(Canvas(), at);
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(Canvas(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, at);
    EXPECT_EQ(window->Map().Objects().size(), objects + 1);
    // The placement's full redraw, then one per release.
    EXPECT_EQ(window->RedrawCount(true) - full, 3);
    EXPECT_TRUE(window->LastRedrawShadows());
}

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

// The object menu belongs to the object mode: in tile or wall mode a right
// click over an object erases beneath it (the wall mode's own erasing: the
// monkey's right clicks).
TEST_F(AppFixture, RightClickInTileOrWallModeOnAnObjectClosesThePaneErasesAndOpensNoMenu)
{
    PickFloor(1);
    Click(Qt::LeftButton, {100, 100}); // floor cell (1, 1)
    PickObject();
    Click(Qt::LeftButton, {100, 100}); // an object over it
    // A press on the map closes an open pane and edits all the same.
    QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(Find("FloorSelect")->isVisible());
    // A menu opened by mistake is closed, so the test goes on to fail.
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    Click(Qt::RightButton, {100, 100});
    EXPECT_FALSE(Find("FloorSelect")->isVisible());
    EXPECT_EQ(window->Map().FloorAt(1, 1), 0u);
    EXPECT_EQ(window->Map().Objects()[0].Image, window->CurrentBrush().ObjectImage);
    EXPECT_EQ(window->SelectedObject(), 0); // set by the menu only
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
    PickObject();
    EXPECT_EQ(marker->Size(), QSizeF(30, 15));
}

} // namespace apptest
