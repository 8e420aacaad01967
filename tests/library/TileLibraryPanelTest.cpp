// The preview boxes and palette panes driven as the user does: clicks on the
// boxes, presses and moves on the pane canvases, the scroll bar.
#include "PanelFixture.h"
#include "QStringPrint.h"
#include "TestSupport.h"

#include "imaging/Imaging.h"
#include "library/TileLibraryPanel.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QGroupBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>

using namespace halvorn;
using paneltest::PanelTest;

TEST_F(PanelTest, WidgetsSitAtTheirPlaces)
{
    const struct {
        const char* name;
        QRect geometry;
    } rows[] = {
        {"Frame1", {3, 48, 89, 91}},           {"FloorBox", {8, 12, 72, 72}},
        {"Frame2", {99, 48, 89, 91}},          {"WallBox", {8, 12, 72, 72}},
        {"Frame3", {3, 144, 185, 153}},        {"ObjectBox", {8, 16, 168, 128}},
        {"FloorSelect", {8, 128, 208, 192}},   {"FloorSelectVScroll2", {190, 0, 17, 190}},
        {"WallSelect", {104, 128, 200, 192}},  {"WallSelectVScroll2", {181, 0, 17, 190}},
        {"ObjectSelect", {8, 288, 208, 192}},  {"ObjectSelectVScroll2", {190, 0, 17, 190}},
        {"FloorSelectCanvas", {0, 0, 720, 2}},
    };
    for (const auto& r : rows) {
        QWidget* w = Find<QWidget>(r.name);
        ASSERT_NE(w, nullptr) << r.name;
        EXPECT_EQ(w->geometry(), r.geometry) << r.name;
    }
    EXPECT_EQ(Find<QGroupBox>("Frame1")->title(), QStringLiteral("Floor Texture "));
    EXPECT_EQ(Find<QGroupBox>("Frame3")->title(), QStringLiteral("Object "));
    EXPECT_EQ(Find<QFrame>("ObjectBox")->contentsRect(), QRect(2, 2, 164, 124));
    for (BrushKind kind : AllBrushKinds)
        EXPECT_FALSE(panel->IsOpen(kind));
}

TEST_F(PanelTest, BoxClicksOpenAndCloseTheirPanes)
{
    Png("floors", QStringLiteral("stone1.png"), Qt::red);
    Png("floors", QStringLiteral("stone2.png"), Qt::red);
    Png("walls", QStringLiteral("brick.png"), Qt::green);
    Png("objects", QStringLiteral("chest.png"), Qt::blue);

    Click("FloorBox");
    EXPECT_TRUE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor).size(), 2);
    EXPECT_EQ(brush.Mode, BrushKind::Floor);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].text, QStringLiteral("Mode = Tile"));
    EXPECT_EQ(announced[0].colour, QColor(255, 0, 0));
    EXPECT_EQ(announced[0].footprint, QSizeF(144, 144));
    EXPECT_EQ(Canvas(BrushKind::Floor)->height(), 40);

    // Walls replace the shared list and close the floor pane.
    Click("WallBox");
    EXPECT_FALSE(panel->IsOpen(BrushKind::Floor));
    EXPECT_TRUE(panel->IsOpen(BrushKind::Wall));
    EXPECT_EQ(panel->PathsOf(BrushKind::Floor),
              QStringList{root.filePath(QStringLiteral("walls")) + QStringLiteral("/brick.png")});
    EXPECT_EQ(Canvas(BrushKind::Wall)->height(), 22);

    // A second click closes, empties the list and still sets the mode.
    Click("WallBox");
    EXPECT_FALSE(panel->IsOpen(BrushKind::Wall));
    EXPECT_TRUE(panel->PathsOf(BrushKind::Floor).isEmpty());
    EXPECT_EQ(announced.back().text, QStringLiteral("Mode = Wall"));
    EXPECT_EQ(announced.back().colour, QColor(0, 255, 0));

    Click("ObjectBox");
    EXPECT_TRUE(panel->IsOpen(BrushKind::Object));
    EXPECT_EQ(panel->PathsOf(BrushKind::Object).size(), 1);
    // No object picked yet: the cursor keeps its size.
    EXPECT_FALSE(announced.back().footprint.isValid());
    panel->HidePalettes();
    EXPECT_FALSE(panel->IsOpen(BrushKind::Object));
}

TEST_F(PanelTest, DoubleClickOnABoxOpensItsPaneOnce)
{
    Png("floors", QStringLiteral("stone1.png"), Qt::red);
    Png("walls", QStringLiteral("brick.png"), Qt::green);
    Png("objects", QStringLiteral("chest.png"), Qt::blue);
    const struct {
        const char* box;
        BrushKind kind;
    } rows[] = {{"FloorBox", BrushKind::Floor},
                {"WallBox", BrushKind::Wall},
                {"ObjectBox", BrushKind::Object}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.box);
        panel->HidePalettes();
        announced.clear();
        // As the window system delivers a double-click: press, release, the
        // second press as a double-click event, release.
        QWidget* box = Find<QWidget>(r.box);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_TRUE(testsupport::WaitUntilListed(panel->Model()));
        EXPECT_TRUE(panel->IsOpen(r.kind));
        EXPECT_EQ(panel->PathsOf(r.kind).size(), 1);
        EXPECT_EQ(announced.size(), 1u);
    }
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

TEST_F(PanelTest, FailedPickKeepsBrushAndPane)
{
    const QString stone = Png("floors", QStringLiteral("stone1.png"), Qt::red);
    const QString moss = Png("floors", QStringLiteral("moss.png"), Qt::green);
    Click("FloorBox");
    QTest::mousePress(Canvas(BrushKind::Floor), Qt::LeftButton, {}, QPoint(40, 5)); // stone1
    Click("FloorBox");
    ASSERT_TRUE(testsupport::WaitUntilFilled(panel->Model())); // both shown
    ASSERT_TRUE(QFile::remove(moss));
    const size_t announcedBefore = announced.size();

    const auto boxes = testsupport::AnswerBoxes(
        [&] { QTest::mousePress(Canvas(BrushKind::Floor), Qt::LeftButton, {}, QPoint(5, 5)); },
        QMessageBox::Ok);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Error"));
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(boxes[0].text.contains(moss)) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("File Not Found: Status = 10")));
    EXPECT_EQ(brush.Paths[BrushKind::Floor], stone);
    EXPECT_EQ(brush.StatusText(), QStringLiteral("Mode = Tile (stone1)"));
    EXPECT_EQ(brush.Preview(BrushKind::Floor).pixelColor(1, 1), QColor(Qt::red));
    EXPECT_TRUE(panel->IsOpen(BrushKind::Floor));
    EXPECT_EQ(announced.size(), announcedBefore);
}

TEST_F(PanelTest, ScrollValueMovesTheCanvasAndSurvivesReopening)
{
    for (int i = 1; i <= 30; ++i)
        Png("floors", QStringLiteral("f%1.png").arg(i), QColor(8 * i, 0, 0));
    Click("FloorBox");
    auto* bar = Find<QScrollBar>("FloorSelectVScroll2");
    EXPECT_EQ(bar->maximum(), 38);
    EXPECT_EQ(bar->pageStep(), 8);
    EXPECT_EQ(bar->singleStep(), 2);

    bar->setValue(38);
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

    // The wheel over the thumbnails scrolls up too.
    QWheelEvent up(QPointF(5, 60), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, {},
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(Canvas(BrushKind::Floor), &up);
    EXPECT_LT(bar->value(), 38);
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), -bar->value());

    // Fewer pictures: the value drops to the new maximum and the canvas follows.
    for (int i = 26; i <= 30; ++i)
        QFile::remove(root.filePath(QStringLiteral("floors")) + QStringLiteral("/f%1.png").arg(i));
    Click("FloorBox");
    Click("FloorBox");
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(Canvas(BrushKind::Floor)->y(), 0);
}
