#include "AppFixture.h"

#include <QApplication>
#include <QTimer>

namespace apptest {

// The tool's rules at every edge, and the marker each kind puts where a press
// lands, are in tests/map/CanvasToolTest.cpp; the picture the canvas shows
// after each edit is checked against the literal renderer by the monkey.
TEST_F(AppFixture, OneFastMovePaintsEveryCellAndWallPointOnItsWay)
{
    // One reported move from the press to the stroke's end, cells or wall
    // points [first, last] of one row apart: each is painted once, with one
    // quick redraw each, and one full redraw with shadows at the release.
    // Steps in canvas pixels at the zoom.
    // clang-format off
    const struct { BrushKind kind; int zoomOuts; int first, last, row; } rows[] = {
        {BrushKind::Floor, 0, 0, 5, 1}, {BrushKind::Floor, 1, 1, 6, 2}, {BrushKind::Floor, 2, 0, 9, 0}, {BrushKind::Floor, 3, 2, 14, 3},
        {BrushKind::Wall, 0, 1, 7, 3},  {BrushKind::Wall, 1, 0, 9, 5},  {BrushKind::Wall, 2, 3, 20, 1}, {BrushKind::Wall, 3, 0, 40, 2},
    };
    // clang-format on
    for (const auto& r : rows) {
        // A fresh window, so a fresh map.
        window->hide();
        window = std::make_unique<frmMain>();
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
        const int quick = window->RedrawCount(false), full = window->RedrawCount(true);
        Press(Qt::LeftButton, at(r.first));
        Move(at(r.last), Qt::LeftButton);
        Release(Qt::LeftButton, at(r.last));
        const MapDocument& map = window->Map();
        EXPECT_EQ(window->RedrawCount(true) - full, 1);
        EXPECT_FALSE(map.MapSaved());
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
    }
}

// The object menu belongs to the object mode and acts on the topmost object.
TEST_F(AppFixture, PopupActsOnTheTopmostObjectUnderTheMouse)
{
    Pick(BrushKind::Floor, 1);
    Click(Qt::LeftButton, {100, 100}); // floor cell (1, 1)
    Pick(BrushKind::Object, 0);
    Click(Qt::LeftButton, {100, 100}); // object at (81, 91), 40 x 20
    // Overlapping, placed later by a double-click, which the window system
    // delivers as a press, a release, a press with a double-click and a
    // release: only the first press runs the tool.
    QTest::mouseMove(Canvas(), QPoint(110, 100));
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, QPoint(110, 100));
    QTest::mouseDClick(Canvas(), Qt::LeftButton, {}, QPoint(110, 100));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, QPoint(110, 100));
    EXPECT_EQ(window->Map().Objects().size(), 3u); // and the free slot

    // In tile mode a right click over the objects closes the open pane and
    // erases the floor beneath them; a menu opened by mistake is closed, so
    // the test goes on to fail.
    QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    Click(Qt::RightButton, {100, 100});
    EXPECT_FALSE(Find("FloorSelect")->isVisible());
    EXPECT_EQ(window->Map().FloorAt(1, 1), 0u);
    EXPECT_EQ(window->SelectedObject(), 0); // set by the menu only
    QTest::qWait(60);                       // the closer has had its turn
    ChooseKind("ObjectBox");
    // clang-format off
    const struct { const char* command; int object; int orientation; int width; bool shadow; } rows[] = {
        {"mnuRotateRight", 1, 1, 20, true}, {"mnuFlipHorizontally", 1, 5, 20, true}, {"mnuObjectShadow", 1, 5, 20, false},
        {"mnuDeleteObject", 1, 5, 20, false}, {"mnuRotateLeft", 0, 3, 20, true}, // the deleted one is never hit again
    };
    // clang-format on
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
        SCOPED_TRACE(r.command);
        EXPECT_EQ(selectedWhileOpen, r.object);
        EXPECT_EQ(window->SelectedObject(), -1);
        const PlacedObject& o = window->Map().Objects()[static_cast<size_t>(r.object)];
        EXPECT_EQ(o.orientation, r.orientation);
        EXPECT_EQ(o.Width, r.width);
        EXPECT_EQ(o.Shadow, r.shadow);
        EXPECT_EQ(o.X, r.object == 0 ? 81.0f : 91.0f); // a turn keeps the corner
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
    Pick(BrushKind::Object, 0);
    QTest::mouseClick(Find("btnRotateRight"), Qt::LeftButton);
    // (The brush's size by its turned picture: the monkey's invariants.)
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 1);
    EXPECT_EQ(Find("Cursor")->size(), QSize(20, 40));
    QTest::mouseClick(Find("btnFlipVertical"), Qt::LeftButton);
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 7);
    // A picture that vanished: a turn says so in the same box as a pick from
    // the open pane, and the brush stays as it was.
    const QString path = dir.filePath(QStringLiteral("Objects/box.png"));
    QTest::mouseClick(Find("ObjectBox"), Qt::LeftButton, {}, QPoint(10, 10));
    Settle();
    QFile::remove(path);
    bool paneKept = false;
    const auto boxes = testsupport::AnswerBoxes(
        [&] {
            QTest::mouseClick(Find("ObjectSelectCanvas"), Qt::LeftButton, {}, QPoint(19, 19));
            paneKept = Find("ObjectSelect")->isVisible();
            QTest::mouseClick(Find("btnRotateLeft"), Qt::LeftButton);
            QTest::qWait(100);
        },
        QMessageBox::Ok);
    const auto refused = testsupport::ErrorBox(
        QStringLiteral("The picture \"%1\" cannot be loaded.\n\nFile Not Found: Status = 10")
            .arg(path));
    EXPECT_EQ(boxes, std::vector({refused, refused}));
    EXPECT_TRUE(paneKept);
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 7);
    EXPECT_EQ(window->CurrentBrush().Paths[BrushKind::Object], path);
}

} // namespace apptest
