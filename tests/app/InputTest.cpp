// Mouse input on the map as the window system delivers it: double-clicks,
// presses without a picture or without a mode, right clicks over objects.
#include "AppFixture.h"
#include "hostile/MapSnapshot.h"

#include <QApplication>
#include <QTimer>

namespace apptest {

namespace {

// Runs `action`, closing any pop-up menu that opens meanwhile; returns how
// many opened.
int PopupsDuring(const std::function<void()>& action)
{
    int opened = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            ++opened;
            popup->close();
        }
    });
    timer.start();
    action();
    QTest::qWait(30);
    timer.stop();
    return opened;
}

} // namespace

TEST_F(AppFixture, DoubleClickOnTheMapRunsTheToolOnlyForTheFirstPress)
{
    // The full redraws: the placement's, then one per release.
    // clang-format off
    const struct { const char* name; std::function<void()> choose; size_t objectsAdded; int fullRedraws; } rows[] = {
        {"no mode", [] {}, 0, 2},
        {"object brush", [&] { PickObject(); }, 1, 3},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        r.choose();
        const size_t objects = window->Map().Objects().size();
        const int full = window->RedrawCount(true);
        const QPoint at(200, 150);
        QTest::mouseMove(Canvas(), at);
        QTest::mouseClick(Canvas(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(Canvas(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, at);
        EXPECT_EQ(window->Map().Objects().size() - objects, r.objectsAdded);
        EXPECT_EQ(window->RedrawCount(true) - full, r.fullRedraws);
        EXPECT_TRUE(window->LastRedrawShadows());
    }
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

TEST_F(AppFixture, RightClickInTileOrWallModeOnAnObjectClosesThePaneErasesAndOpensNoMenu)
{
    PickFloor(1);
    Click(Qt::LeftButton, {100, 100}); // floor cell (1, 1)
    PickWall();
    Click(Qt::LeftButton, {100, 100}); // wall point (6, 6)
    PickObject();
    Click(Qt::LeftButton, {100, 100}); // an object over both
    ASSERT_NE(window->Map().FloorAt(1, 1), 0u);
    ASSERT_NE(window->Map().WallAt(6, 6), 0u);

    // A press on the map closes an open pane and edits all the same.
    QTest::mouseClick(Find("WallBox"), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(Find("WallSelect")->isVisible());
    EXPECT_EQ(PopupsDuring([&] { Click(Qt::RightButton, {100, 100}); }), 0);
    EXPECT_FALSE(Find("WallSelect")->isVisible());
    EXPECT_EQ(window->Map().WallAt(6, 6), 0u);
    ChooseKind("FloorBox");
    EXPECT_EQ(PopupsDuring([&] { Click(Qt::RightButton, {100, 100}); }), 0);
    EXPECT_EQ(window->Map().FloorAt(1, 1), 0u);
    EXPECT_EQ(window->Map().Objects()[0].Image, window->CurrentBrush().ObjectImage);
    EXPECT_EQ(window->SelectedObject(), 0); // never set: no menu opened
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
