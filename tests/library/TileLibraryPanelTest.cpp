// The preview boxes and palette panes driven as the user does: clicks on the
// boxes, presses and moves on the pane canvases, the scroll bar.
#include "PanelFixture.h"
#include "QStringPrint.h"

#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace halvorn;
using paneltest::PanelTest;

TEST_F(PanelTest, DoubleClickOnABoxOpensItsPaneOnce)
{
    Png("walls", QStringLiteral("brick.png"), Qt::green);
    // As the window system delivers a double-click: press, release, the
    // second press as a double-click event, release.
    QWidget* w = Find<QWidget>("WallBox");
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_TRUE(testsupport::WaitUntilListed(panel->Model()));
    EXPECT_TRUE(panel->IsOpen(BrushKind::Wall));
    EXPECT_EQ(panel->PathsOf(BrushKind::Wall).size(), 1);
    EXPECT_EQ(announced.size(), 1u);
}

TEST_F(PanelTest, PickSetsTheBrushAndClosesThePane)
{
    Png("floors", QStringLiteral("stone1.png"), QColor(200, 0, 0));
    Png("floors", QStringLiteral("stone2.png"), QColor(0, 200, 0));
    Png("objects", QStringLiteral("chest.png"), Qt::blue, 100, 40);
    Click("FloorBox");
    QWidget* canvas = Canvas(BrushKind::Floor);

    QTest::mouseMove(canvas, QPoint(50, 10));
    EXPECT_EQ(canvas->toolTip(), QStringLiteral("stone2"));
    QTest::mouseMove(canvas, QPoint(100, 10)); // no entry there: the tooltip stays
    EXPECT_EQ(canvas->toolTip(), QStringLiteral("stone2"));

    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(brush.FloorImage, 0u);

    QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor).size(), 2); // kept after a pick
    EXPECT_EQ(brush.StatusText(), QStringLiteral("Mode = Tile (stone1)"));
    EXPECT_EQ(announced.back().text, QStringLiteral("Mode = Tile (stone1)"));
    EXPECT_EQ(Find<QWidget>("FloorBox")->grab().toImage().pixelColor(36, 36), QColor(200, 0, 0));

    brush.ObjectOrientation = 2;
    Click("ObjectBox");
    QTest::mousePress(Canvas(BrushKind::Object), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(brush.ObjectOrientation, 0);
    EXPECT_EQ(announced.back().text, QStringLiteral("Mode = Object (chest)"));
    EXPECT_EQ(announced.back().colour, QColor(0, 0, 255));
    EXPECT_EQ(announced.back().footprint, QSizeF(200, 80));
    const QImage box = Find<QWidget>("ObjectBox")->grab().toImage();
    EXPECT_EQ(box.pixelColor(2 + 32, 2 + 42), QColor(Qt::blue));
    EXPECT_EQ(box.pixelColor(2 + 31, 2 + 42), QColor(240, 240, 240));
}

TEST_F(PanelTest, ScrollValueMovesTheCanvasAndSurvivesReopening)
{
    for (int i = 1; i <= 30; ++i)
        Png("floors", QStringLiteral("f%1.png").arg(i), QColor(8 * i, 0, 0));
    Click("FloorBox");
    auto* bar = Find<QScrollBar>("FloorSelectVScroll2");
    bar->setValue(38); // its maximum (its steps: tests/library/PaletteTest.cpp)
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), -38);
    // Canvas coordinates follow the canvas: row 1 is now at the pane's top.
    QTest::mouseMove(Canvas(BrushKind::Floor), QPoint(5, 40));
    EXPECT_EQ(Canvas(BrushKind::Floor)->toolTip(), QStringLiteral("f6"));

    // What the user sees: f6 at the top of the pane.
    ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model()));
    EXPECT_EQ(window.grab().toImage().pixelColor(8 + 5, 128 + 5), QColor(48, 0, 0));

    Click("FloorBox");
    Click("FloorBox");
    EXPECT_EQ(bar->value(), 38);
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), -38);

    // Fewer pictures: the value drops to the new maximum and the canvas follows.
    for (int i = 26; i <= 30; ++i)
        QFile::remove(root.filePath(QStringLiteral("floors")) + QStringLiteral("/f%1.png").arg(i));
    Click("FloorBox");
    Click("FloorBox");
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), 0);
}
