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
    EXPECT_EQ(announced.size(), 1);
}

// The tooltips, the pick of the last of 10,000 and what a pick announces in
// the window: PaletteFillTest and tests/app.
TEST_F(PanelTest, PickSetsTheBrushAndClosesThePane)
{
    Png("floors", QStringLiteral("stone1.png"), QColor(200, 0, 0));
    Png("floors", QStringLiteral("stone2.png"), QColor(0, 200, 0));
    Click("FloorBox");
    QWidget* canvas = Canvas(BrushKind::Floor);
    // A press where no entry is picks nothing; either button picks one.
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_TRUE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(brush.FloorImage, 0u);
    QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(announced.back(), QStringLiteral("Mode = Tile (stone1)"));
    EXPECT_EQ(Find<QWidget>("FloorBox")->grab().toImage().pixelColor(36, 36), QColor(200, 0, 0));
}

// The value kept between openings: AppFixture.PalettesArePickedAndClosedFromTheKeyboard.
TEST_F(PanelTest, ScrollValueDropsWithFewerPictures)
{
    for (int i = 1; i <= 30; ++i)
        Png("floors", QStringLiteral("f%1.png").arg(i), QColor(8 * i, 0, 0));
    Click("FloorBox");
    auto* bar = Find<QScrollBar>("FloorSelectVScroll2");
    bar->setValue(38); // its maximum (its steps: tests/library/PaletteTest.cpp)
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), -38);
    for (int i = 26; i <= 30; ++i)
        QFile::remove(root.filePath(QStringLiteral("floors")) + QStringLiteral("/f%1.png").arg(i));
    Click("FloorBox");
    Click("FloorBox");
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), 0);
}
