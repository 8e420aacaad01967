#include "AppFixture.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "settings/ShadowSettings.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QToolBar>

namespace apptest {

// The tool bar routes by its buttons' command texts (its Open and Save, Ctrl+N,
// and the MapSaved rules: the monkey's invariants). New asks first; only Yes
// clears, and the new map starts at full size, the grid and brush kept.
TEST_F(AppFixture, ToolBarSavesAndNewMapAsksAndClearsOnlyOnYes)
{
    QToolBar* bar = Find<QToolBar>("Toolbar1");
    Pick(BrushKind::Floor, 1);
    Click(Qt::LeftButton, {10, 10});
    for (const char* item : {"mnuOpen", "mnuSave", "mnuSaveAs"})
        EXPECT_FALSE(Action(item)->isEnabled()) << item;
    for (int i = 0; i < 3; ++i)
        Action("mnuZoomOut")->trigger();
    EXPECT_EQ(testsupport::AnswerBoxes([&] { bar->actions().at(0)->trigger(); }, QMessageBox::No),
              std::vector{testsupport::WarningBox(
                  QStringLiteral("New Map"),
                  QStringLiteral(
                      "Are you sure you want to discard the current map and create a new one?"))});
    EXPECT_NE(window->Map().FloorAt(0, 0), 0u);
    Action("mnuGridLayer")->trigger();
    testsupport::AnswerBoxes([&] { bar->actions().at(0)->trigger(); }, QMessageBox::Yes);
    EXPECT_EQ(window->Map().FloorAt(0, 0), 0u);
    EXPECT_EQ(window->Zoom(), 1.0f);
    EXPECT_TRUE(window->Layers().ShowGridLayer);
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (red)"));
}

// ctest runs this also under QT_SCALE_FACTOR 1.25, 1.5 and 2: the screen
// shows the map at its device pixels, and export saves the map's own
// picture, the one a 100 % screen gives, bit for bit.
TEST_F(AppFixture, ExportSavesTheMapsOwnPictureAtTheScreensScale)
{
    Pick(BrushKind::Floor, 1);
    Click(Qt::LeftButton, {10, 10});
    Pick(BrushKind::Wall, 0);
    Click(Qt::LeftButton, {72, 100});
    Pick(BrushKind::Object, 0);
    Click(Qt::LeftButton, {95, 33});
    Action("mnuZoomOut")->trigger();
    const float ratio = static_cast<float>(window->devicePixelRatioF());
    EXPECT_EQ(Canvas()->Pictures().Screen().devicePixelRatio(), ratio);
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
    EXPECT_TRUE(QImage(path).convertToFormat(QImage::Format_RGB32) == expected)
        << "ratio " << ratio;
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

TEST_F(AppFixture, LayersStartAndShortcutsToggleAndRedrawOnce)
{
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

} // namespace apptest
