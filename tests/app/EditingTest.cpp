#include "AppFixture.h"

#include "map/Orientation.h"

#include <QApplication>
#include <QTimer>

namespace apptest {

TEST_F(AppFixture, FloorPressesFollowTheCellEdges)
{
    PickFloor(1);
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (red)"));
    EXPECT_FALSE(Find("FloorSelect")->isVisible());
    const ImageHandle red = window->CurrentBrush().FloorImage;
    Click(Qt::LeftButton, {0, 0});
    EXPECT_EQ(window->Map().FloorAt(0, 0), red);
    Click(Qt::LeftButton, {71, 10});
    EXPECT_EQ(window->Map().FloorAt(0, 0), red);
    EXPECT_EQ(window->Map().FloorAt(1, 0), 0u);
    EXPECT_EQ(Find("Cursor")->pos(), QPoint(0, 0)); // the marker went onto cell 0
    Click(Qt::LeftButton, {72, 10});
    EXPECT_EQ(window->Map().FloorAt(1, 0), red);
    // What the canvas shows is what the renderer drew.
    EXPECT_EQ(Canvas()->Picture().pixelColor(80, 5), QColor(Qt::red));
    // Right erases; middle and both buttons paint nothing.
    Click(Qt::RightButton, {80, 5});
    EXPECT_EQ(window->Map().FloorAt(1, 0), 0u);
    Click(Qt::MiddleButton, {200, 200});
    EXPECT_EQ(window->Map().FloorAt(2, 2), 0u);
}

TEST_F(AppFixture, AtHalfZoomCellsAreThirtySixPixels)
{
    window->findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    window->findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    ASSERT_EQ(window->Zoom(), 0.5f);
    PickFloor(0);
    Click(Qt::LeftButton, {40, 40});
    EXPECT_NE(window->Map().FloorAt(1, 1), 0u);
    EXPECT_EQ(Find("Cursor")->size(), QSize(36, 36));
}

TEST_F(AppFixture, DragPaintsFiveCellsWithQuickRedrawsThenOneWithShadows)
{
    PickFloor(1);
    const int quick = window->RedrawCount(false);
    const int full = window->RedrawCount(true);
    Press(Qt::LeftButton, {10, 100});
    for (int x = 20; x <= 350; x += 10)
        Move(QPointF(x, 100), Qt::LeftButton);
    Release(Qt::LeftButton, {350, 100});
    for (int c = 0; c < 5; ++c)
        EXPECT_NE(window->Map().FloorAt(c, 1), 0u) << c;
    EXPECT_EQ(window->Map().FloorAt(5, 1), 0u);
    EXPECT_EQ(window->RedrawCount(false) - quick, 5);
    EXPECT_EQ(window->RedrawCount(true) - full, 1);
    EXPECT_FALSE(window->Map().MapSaved);
}

TEST_F(AppFixture, OneFastMovePaintsEveryCellAndWallPointOnItsWay)
{
    // One reported move from the press to the stroke's end, cells or wall
    // points [first, last] of one row apart: each is painted once, with one
    // quick redraw each. Steps in canvas pixels at the zoom.
    // clang-format off
    const struct { BrushKind kind; int zoomOuts; int first, last, row; } rows[] = {
        {BrushKind::Floor, 0, 0, 5, 1}, {BrushKind::Floor, 1, 1, 6, 2}, {BrushKind::Floor, 2, 0, 9, 0}, {BrushKind::Floor, 3, 2, 14, 3},
        {BrushKind::Wall, 0, 1, 7, 3},  {BrushKind::Wall, 1, 0, 9, 5},  {BrushKind::Wall, 2, 3, 20, 1}, {BrushKind::Wall, 3, 0, 40, 2},
    };
    // clang-format on
    for (const auto& r : rows) {
        window = std::make_unique<frmMain>(); // a fresh map and zoom per row
        window->show();
        for (int i = 0; i < r.zoomOuts; ++i)
            Action("mnuZoomOut")->trigger();
        SCOPED_TRACE(testing::Message() << (r.kind == BrushKind::Floor ? "floor" : "wall")
                                        << " at zoom " << window->Zoom());
        Pick(r.kind, 0);
        const bool floor = r.kind == BrushKind::Floor;
        const double step = (floor ? 72 : 18) * static_cast<double>(window->Zoom());
        // The middle of a cell, or a wall point's own grid line.
        const double offset = floor ? step / 2 : 0;
        const auto at = [&](int i) { return QPointF(i * step + offset, r.row * step + offset); };
        const int quick = window->RedrawCount(false);
        Press(Qt::LeftButton, at(r.first));
        Move(at(r.last), Qt::LeftButton);
        Release(Qt::LeftButton, at(r.last));
        const MapDocument& map = window->Map();
        for (int i = 0; i < 61; ++i) {
            const ImageHandle got =
                floor ? (i < 16 ? map.FloorAt(i, r.row) : 0) : map.WallAt(i, r.row);
            EXPECT_EQ(got != 0, i >= r.first && i <= r.last) << i;
        }
        EXPECT_EQ(window->RedrawCount(false) - quick, r.last - r.first + 1);
        // A click without movement stays one cell.
        const int before = window->RedrawCount(false);
        Click(Qt::RightButton, at(r.first));
        EXPECT_EQ(window->RedrawCount(false) - before, 1);
        window->hide();
    }
}

TEST_F(AppFixture, WallsAndTheRepeatRules)
{
    PickWall();
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Wall (green)"));
    const int quick = window->RedrawCount(false);
    Click(Qt::RightButton, {100, 100}); // erasing an empty point: no redraw
    EXPECT_EQ(window->RedrawCount(false), quick);
    EXPECT_TRUE(window->Map().MapSaved);
    Click(Qt::LeftButton, {10, 100});
    EXPECT_NE(window->Map().WallAt(1, 6), 0u);
    EXPECT_EQ(Find("Cursor")->geometry(), QRect(10, 100, 18, 18));
}

TEST_F(AppFixture, ObjectsArePlacedWhereTheMarkerShowsThem)
{
    PickObject();
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Object (box)"));
    Press(Qt::LeftButton, {100, 100});
    Move({140, 140}, Qt::LeftButton); // dragging places no more
    Release(Qt::LeftButton, {140, 140});
    ASSERT_EQ(window->Map().Objects().size(), 2u);
    EXPECT_FLOAT_EQ(window->Map().Objects()[0].X, 81);
    EXPECT_FLOAT_EQ(window->Map().Objects()[0].Y, 91);
    window->findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    window->findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    EXPECT_EQ(Find("Cursor")->size(), QSize(20, 10));
    Click(Qt::LeftButton, {100, 100});
    ASSERT_EQ(window->Map().Objects().size(), 3u);
    EXPECT_FLOAT_EQ(window->Map().Objects()[1].X, 182);
    EXPECT_FLOAT_EQ(window->Map().Objects()[1].Y, 192);
}

TEST_F(AppFixture, PopupActsOnTheTopmostObjectUnderTheMouse)
{
    PickObject();
    Click(Qt::LeftButton, {100, 100}); // object at (81, 91), 40 x 20
    Click(Qt::LeftButton, {110, 100}); // overlapping, placed later
    const struct {
        const char* command;
        int object;
        int orientation;
        int width;
        bool shadow;
    } rows[] = {
        {"mnuRotateRight", 1, 1, 20, true},   {"mnuFlipHorizontally", 1, 5, 20, true},
        {"mnuObjectShadow", 1, 5, 20, false}, {"mnuDeleteObject", 1, 5, 20, false},
        {"mnuRotateLeft", 0, 3, 20, true}, // the deleted one is never hit again
    };
    for (const auto& r : rows) {
        int selectedWhileOpen = -2;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            selectedWhileOpen = window->SelectedObject();
            menu->findChild<QAction*>(QLatin1String(r.command))->trigger();
            menu->close();
        });
        Click(Qt::RightButton, {105, 100});
        EXPECT_EQ(selectedWhileOpen, r.object) << r.command;
        EXPECT_EQ(window->SelectedObject(), -1);
        const PlacedObject& o = window->Map().Objects()[static_cast<size_t>(r.object)];
        EXPECT_EQ(o.orientation, r.orientation) << r.command;
        EXPECT_EQ(o.Width, r.width) << r.command;
        EXPECT_EQ(o.Shadow, r.shadow) << r.command;
    }
    EXPECT_EQ(window->Map().Objects()[1].Image, 0u);
    // A right click on no object opens nothing.
    Click(Qt::RightButton, {600, 600});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(window->SelectedObject(), -1);
}

TEST_F(AppFixture, BrushButtonsTurnTheObjectBrush)
{
    QTest::mouseClick(Find("btnRotateRight"), Qt::LeftButton);
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Object"));
    EXPECT_EQ(window->CurrentBrush().ObjectImage, 0u);
    PickObject();
    QTest::mouseClick(Find("btnRotateRight"), Qt::LeftButton);
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 1);
    EXPECT_EQ(window->CurrentBrush().ObjectWidth, 20);
    EXPECT_EQ(window->CurrentBrush().ObjectHeight, 40);
    EXPECT_EQ(Find("Cursor")->size(), QSize(20, 40));
    QTest::mouseClick(Find("btnFlipVertical"), Qt::LeftButton);
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 7);
    // A picture that vanished: a turn says so in the same box as a pick from
    // the open pane, and the brush stays as it was.
    const QString path = dir.filePath(QStringLiteral("Objects/box.png"));
    QTest::mouseClick(Find("ObjectBox"), Qt::LeftButton, {}, QPoint(10, 10));
    Settle();
    QFile::remove(path);
    const auto boxes = testsupport::AnswerBoxes(
        [&] {
            QTest::mouseClick(Find("ObjectSelectCanvas"), Qt::LeftButton, {}, QPoint(19, 19));
            QTest::mouseClick(Find("btnRotateLeft"), Qt::LeftButton);
            QTest::qWait(100);
        },
        QMessageBox::Ok);
    ASSERT_EQ(boxes.size(), 2u);
    for (const testsupport::BoxRecord& box : boxes) {
        EXPECT_EQ(box.title, QStringLiteral("Error"));
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.text, QStringLiteral("The picture \"%1\" cannot be loaded.\n\n"
                                           "File Not Found: Status = 10")
                                .arg(path));
    }
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 7);
    EXPECT_EQ(window->CurrentBrush().Paths[BrushKind::Object], path);
}

} // namespace apptest
