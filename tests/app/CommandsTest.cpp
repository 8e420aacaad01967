#include "AppFixture.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "settings/ShadowSettings.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QToolBar>

namespace apptest {

// The tool bar routes by its buttons' command texts; its zoom buttons are in
// tests/app/ViewportTest.cpp.
TEST_F(AppFixture, ToolBarSavesAndNewMapAsksAndClearsOnlyOnYes)
{
    QToolBar* bar = Find<QToolBar>("Toolbar1");
    PickFloor(1);
    Click(Qt::LeftButton, {10, 10});
    EXPECT_FALSE(window->Map().MapSaved());
    bar->actions().at(1)->trigger(); // Open does nothing
    EXPECT_FALSE(window->Map().MapSaved());
    bar->actions().at(2)->trigger(); // Save only remembers
    EXPECT_TRUE(window->Map().MapSaved());
    // Ctrl+O and Ctrl+S reach disabled items and do nothing.
    for (const char* item : {"mnuOpen", "mnuSave", "mnuSaveAs"})
        EXPECT_FALSE(Action(item)->isEnabled()) << item;
    Click(Qt::LeftButton, {100, 10});
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->Map().MapSaved());

    Trigger("mnuZoomOut", 3);
    EXPECT_EQ(testsupport::AnswerBoxes([&] { bar->actions().at(0)->trigger(); }, QMessageBox::No),
              std::vector{testsupport::WarningBox(
                  QStringLiteral("New Map"),
                  QStringLiteral(
                      "Are you sure you want to discard the current map and create a new one?"))});
    EXPECT_NE(window->Map().FloorAt(0, 0), 0u);
    EXPECT_EQ(window->Zoom(), 0.25f);

    Action("mnuGridLayer")->trigger();
    window->activateWindow(); // shortcuts reach the active window only
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    testsupport::AnswerBoxes([&] { QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier); },
                             QMessageBox::Yes);
    EXPECT_EQ(window->Map().FloorAt(0, 0), 0u);
    // Back at full size, as at the start (each zoom's states: ViewportTest.cpp).
    EXPECT_EQ(window->Zoom(), 1.0f);
    EXPECT_EQ(Panel("Panel1"), QStringLiteral("ZoomLevel =  100%"));
    EXPECT_EQ(Canvas()->size(), QSize(1080, 1080));
    // Blank until the next redraw, with the grid switched on all the same.
    EXPECT_EQ(Canvas()->Picture().pixelColor(71, 5), QColor(Qt::white));
    EXPECT_EQ(Canvas()->Picture().pixelColor(10, 10), QColor(Qt::white));
    EXPECT_TRUE(window->Layers().ShowGridLayer);
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (red)")); // the brush stays
}

// ctest runs this also under QT_SCALE_FACTOR 1.25, 1.5 and 2: the screen
// shows the map at its device pixels, and export saves the map's own
// picture, the one a 100 % screen gives, bit for bit.
TEST_F(AppFixture, ExportSavesTheMapsOwnPictureAtTheScreensScale)
{
    PickFloor(1);
    Press(Qt::LeftButton, {10, 10});
    Move({90, 10}, Qt::LeftButton);
    Move({170, 90}, Qt::LeftButton);
    Release(Qt::LeftButton, {170, 90});
    PickWall();
    Click(Qt::LeftButton, {72, 100});
    PickObject();
    Click(Qt::LeftButton, {95, 33});
    Action("mnuZoomOut")->trigger();
    const float ratio = static_cast<float>(window->devicePixelRatioF());
    const QImage& screen = Canvas()->Pictures().Screen();
    EXPECT_EQ(screen.devicePixelRatio(), ratio);
    EXPECT_EQ(screen.size(), CanvasSize(window->Map(), 0.75f, ratio));

    const QString path = dir.filePath(QStringLiteral("scaled.png"));
    testsupport::DriveModals(
        [&] { Action("mnuExport")->trigger(); },
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
    QImage expected(CanvasSize(window->Map(), 0.75f), QImage::Format_RGB32);
    halvorn::Redraw(expected, window->Map(), window->Layers(), 0.75f, CurrentShadowParams(), true);
    const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(saved == expected) << "ratio " << ratio;
}

// The start's other states: the zoom's in tests/app/ViewportTest.cpp, the
// status line's in tests/app/InputTest.cpp.
TEST_F(AppFixture, TitleAndLayerStartsAndShortcutsToggleAndRedrawOnce)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Halvorn III - Tallow Edition"));
    EXPECT_FALSE(Action("mnuBackgroundLayer")->isVisible());
    // clang-format off
    const struct { Qt::Key key; const char* item; bool LayerSwitches::*layer; } rows[] = {
        {Qt::Key_F1, "mnuGridLayer", &LayerSwitches::ShowGridLayer}, {Qt::Key_F2, "mnuFloorLayer", &LayerSwitches::ShowFloorLayer},
        {Qt::Key_F3, "mnuObjectLayer", &LayerSwitches::ShowObjectLayer}, {Qt::Key_F4, "mnuWallLayer", &LayerSwitches::ShowWallLayer},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.item);
        const bool before = window->Layers().*r.layer;
        EXPECT_EQ(before, r.key != Qt::Key_F1); // the grid off, the others on
        const int redraws = window->RedrawCount(true);
        QTest::keyClick(window.get(), r.key, Qt::ShiftModifier);
        EXPECT_EQ(window->Layers().*r.layer, !before);
        EXPECT_EQ(Action(r.item)->isChecked(), !before);
        EXPECT_EQ(window->RedrawCount(true), redraws + 1);
        QTest::keyClick(window.get(), r.key, Qt::ShiftModifier);
        EXPECT_EQ(window->Layers().*r.layer, before);
    }
    // The grid, once on, is in the canvas picture.
    QTest::keyClick(window.get(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(Canvas()->Picture().pixelColor(71, 5), QColor(Qt::black));
}

TEST_F(AppFixture, HelpItemsOpenTheirPagesInTheBrowser)
{
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "Open");
    for (const char* item : {"mnuHomepage", "mnuForums", "mnuBrellic"})
        Action(item)->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    EXPECT_EQ(browser.opened,
              (QList<QUrl>{QUrl(QStringLiteral("http://halvorn.example/")),
                           QUrl(QStringLiteral("http://halvorn.example/forum/index.php")),
                           QUrl(QStringLiteral("http://brellic.example/"))}));
}

} // namespace apptest
