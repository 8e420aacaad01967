// What the editor looks like on the desktops people have: fractional screen
// scales, dark colour schemes, larger fonts, keyboards and screen readers.
#include "AppFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QScreen>
#include <QToolButton>

#include <cmath>
#include <functional>

namespace apptest {

namespace {

// True when some row (or column) of the picture near `at` is `color` from
// `from` to `to`: one line of the outline, wherever the scale rounded it.
bool LineNear(const QImage& shot, bool horizontal, double at, int from, int to, QRgb color)
{
    for (int line = int(std::floor(at)) - 2; line <= int(std::ceil(at)) + 1; ++line) {
        bool whole = true;
        for (int i = from; i <= to && whole; ++i) {
            const QPoint p = horizontal ? QPoint(i, line) : QPoint(line, i);
            whole = shot.rect().contains(p) && shot.pixel(p) == color;
        }
        if (whole)
            return true;
    }
    return false;
}

} // namespace

// ctest runs this also under QT_SCALE_FACTOR 1.25, 1.5 and 2.
TEST_F(AppFixture, FootprintMarkerShowsAllFourSidesAtTheScreensScale)
{
    QWidget* marker = Find("Cursor");
    // Places near the canvas's corner (the offscreen screen is small), each
    // putting the marker's edges at another fraction of a screen pixel.
    // clang-format off
    const struct { const char* box; QPointF at; QRgb color; } rows[] = {
        {"FloorBox", {10, 10}, qRgb(255, 0, 0)}, {"WallBox", {10, 10}, qRgb(0, 255, 0)}, {"WallBox", {28, 10}, qRgb(0, 255, 0)},
        {"WallBox", {46, 28}, qRgb(0, 255, 0)},
    };
    // clang-format on
    for (const auto& row : rows) {
        ChooseKind(row.box);
        Move(row.at);
        // What the window system shows: the window's backing store, where
        // each widget is clipped to the screen pixels it covers.
        window->repaint();
        QCoreApplication::processEvents();
        const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
        const double dpr = window->devicePixelRatioF();
        const QRectF r(QPointF(marker->mapTo(window.get(), QPoint(0, 0))) * dpr,
                       QSizeF(marker->size()) * dpr);
        SCOPED_TRACE(testing::Message() << row.box << " at " << row.at.x() << "," << row.at.y());
        const int x0 = int(r.left()) + 3, x1 = int(r.right()) - 3;
        const int y0 = int(r.top()) + 3, y1 = int(r.bottom()) - 3;
        EXPECT_TRUE(LineNear(shot, true, r.top(), x0, x1, row.color)) << "top";
        EXPECT_TRUE(LineNear(shot, true, r.bottom() - 1, x0, x1, row.color)) << "bottom";
        EXPECT_TRUE(LineNear(shot, false, r.left(), y0, y1, row.color)) << "left";
        EXPECT_TRUE(LineNear(shot, false, r.right() - 1, y0, y1, row.color)) << "right";
    }
}

namespace {

// The contrast ratio of two colours, from their relative luminance.
double Contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        double sum = 0;
        for (const auto& [v, weight] :
             {std::pair{c.redF(), 0.2126f}, {c.greenF(), 0.7152f}, {c.blueF(), 0.0722f}})
            sum += weight * (v <= 0.03928f ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast ratio of the icon's strokes (its fully opaque pixels, on
// average) against the button behind them.
double IconContrast(const QToolButton* button)
{
    const QImage icon =
        button->icon().pixmap(QSize(20, 20), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (const QColor c = icon.pixelColor(x, y); c.alpha() == 255)
                r += c.red(), g += c.green(), b += c.blue(), ++n;
    if (n == 0)
        return 0;
    return Contrast(QColor(int(r / n), int(g / n), int(b / n)),
                    button->palette().color(QPalette::Button));
}

} // namespace

TEST_F(AppFixture, BrushButtonIconsAndPreviewBoxesShowOnLightAndDarkSchemes)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, QColor(46, 52, 54));
        dark.setColor(group, QPalette::Button, QColor(53, 53, 53));
        dark.setColor(group, QPalette::ButtonText, QColor(238, 238, 236));
        dark.setColor(group, QPalette::WindowText, QColor(238, 238, 236));
        dark.setColor(group, QPalette::Base, QColor(45, 45, 45));
    }
    const char* names[] = {"btnRotateLeft", "btnRotateRight", "btnFlipHorizontal",
                           "btnFlipVertical"};
    for (const QPalette& scheme : {light, dark, light}) {
        QApplication::setPalette(scheme);
        QCoreApplication::processEvents();
        for (const char* name : names) {
            SCOPED_TRACE(name);
            EXPECT_GE(IconContrast(Find<QToolButton>(name)), 4.5);
        }
        // The empty Floor and Wall boxes: their edge against the frame around.
        for (const char* name : {"FloorBox", "WallBox"}) {
            SCOPED_TRACE(name);
            QWidget* box = Find(name);
            const QImage frame = box->parentWidget()->grab().toImage();
            const QColor edge = frame.pixelColor(box->geometry().topLeft() + QPoint(0, 36));
            const QColor around = frame.pixelColor(box->geometry().topLeft() + QPoint(-3, 36));
            const QColor inside = frame.pixelColor(box->geometry().center());
            EXPECT_GE(Contrast(edge, around), 3.0) << edge.name().toStdString();
            EXPECT_GE(Contrast(edge, inside), 3.0) << inside.name().toStdString();
        }
    }
}

// GNOME's usual 11 pt and the styles that draw frame titles bold: each frame
// inside the window, none over another, its title whole.
TEST_F(AppFixture, FrameTitlesShowWholeAtTheDesktopsFontSizes)
{
    const QFont saved = QApplication::font();
    const std::pair<const char*, const char*> frames[] = {
        {"Frame1", "Floor Texture"}, {"Frame2", "Wall Texture"}, {"Frame3", "Object"}};
    for (const double points : {9.0, 10.0, 11.0}) {
        SCOPED_TRACE(points);
        QFont font = saved;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        frmMain w;
        std::vector<QRect> placed;
        for (const auto& [name, title] : frames) {
            SCOPED_TRACE(name);
            const auto* frame = w.findChild<QGroupBox*>(QLatin1String(name));
            ASSERT_NE(frame, nullptr);
            const QRect place(frame->mapTo(&w, QPoint(0, 0)), frame->size());
            EXPECT_TRUE(w.rect().contains(place));
            for (const QRect& other : placed)
                EXPECT_FALSE(other.intersects(place));
            placed.push_back(place);
            EXPECT_EQ(frame->title().trimmed(), QLatin1String(title));
            QFont bold = frame->font();
            bold.setBold(true);
            // The title, in bold, with the style's inset at each side.
            EXPECT_LE(QFontMetrics(bold).horizontalAdvance(QLatin1String(title)) + 2 * 4,
                      frame->width());
            EXPECT_GE(frame->font().pointSizeF(), 6.0);
        }
        w.hide();
    }
    QApplication::setFont(saved);
}

TEST_F(AppFixture, ScreenReadersHearEachControlsOwnName)
{
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"btnRotateLeft", "Rotate Left"}, {"btnRotateRight", "Rotate Right"}, {"btnFlipHorizontal", "Flip Horizontally"},
        {"btnFlipVertical", "Flip Vertically"}, {"FloorBox", "Floor Texture"}, {"WallBox", "Wall Texture"}, {"ObjectBox", "Object"},
        {"Canvas", "Map"},
    };
    // clang-format on
    for (const auto& [widget, name] : rows) {
        SCOPED_TRACE(widget);
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(Find(widget));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->text(QAccessible::Name), QString::fromLatin1(name));
    }
}

TEST_F(AppFixture, PalettesArePickedAndClosedFromTheKeyboard)
{
    // Forty floors: eight rows, more than the pane shows at once.
    for (int i = 2; i < 40; ++i)
        testsupport::WritePng(
            dir.filePath(QStringLiteral("Floors/f%1.png").arg(i, 2, 10, QLatin1Char('0'))), 72, 72,
            QColor(i * 6, 0, 0));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* box = Find("FloorBox");
    auto* canvas = Find<PaletteCanvas>("FloorSelectCanvas");
    auto* bar = Find<QScrollBar>("FloorSelectVScroll2");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(canvas);
    ASSERT_NE(list, nullptr);
    const QRgb mark = canvas->palette().color(QPalette::Highlight).rgb();
    const auto framed = [&](int index) {
        const QRect cell = canvas->Grid().Cell(index);
        return canvas->grab(cell).toImage().pixel(0, 0) == mark;
    };

    // (Opened by the mouse, no cell is marked: FocusGoesBackToThePreviewBox...)
    box->setFocus();
    // Other keys do nothing; Space, Return and Enter do what a click does.
    EXPECT_EQ(box->focusPolicy(), Qt::StrongFocus);
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_FALSE(Find("FloorSelect")->isVisible());
    // Sorted: blue, f02 ... f39, red.
    QTest::keyClick(box, Qt::Key_Space);
    Settle();
    ASSERT_TRUE(canvas->hasFocus());
    // clang-format off
    const struct { Qt::Key key; int current; int scroll; const char* name; } steps[] = {
        {Qt::Key_Home, 0, 0, "blue"}, {Qt::Key_Up, 0, 0, "blue"}, {Qt::Key_Left, 0, 0, "blue"}, {Qt::Key_Right, 1, 0, "f02"},
        {Qt::Key_Down, 6, 0, "f07"}, {Qt::Key_PageDown, 31, 74, "f32"}, {Qt::Key_Down, 36, 112, "f37"}, {Qt::Key_Down, 36, 112, "f37"},
        {Qt::Key_End, 39, 112, "red"}, {Qt::Key_Right, 39, 112, "red"}, {Qt::Key_PageUp, 14, 76, "f15"}, {Qt::Key_Home, 0, 0, "blue"},
        {Qt::Key_Right, 1, 0, "f02"},
    };
    // clang-format on
    // (The canvas's place by the scroll value: the monkey's invariants.)
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        QTest::keyClick(canvas, s.key);
        EXPECT_EQ(canvas->Current(), s.current);
        EXPECT_EQ(bar->value(), s.scroll);
        EXPECT_TRUE(framed(s.current));
        ASSERT_NE(list->focusChild(), nullptr);
        EXPECT_EQ(list->focusChild()->text(QAccessible::Name), QString::fromLatin1(s.name));
        EXPECT_EQ(list->indexOfChild(list->focusChild()), s.current);
    }
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Floor Palette"));
    EXPECT_EQ(list->childCount(), 40);

    // Enter picks as a press on the cell does (where the focus goes, and
    // Escape: FocusGoesBackToThePreviewBoxHoweverAPaneCloses).
    QTest::keyClick(canvas, Qt::Key_Enter);
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (f02)"));
    // Opened again, the keys start on the brush's picture.
    QTest::keyClick(box, Qt::Key_Return);
    Settle();
    EXPECT_EQ(canvas->Current(), 1);
    EXPECT_TRUE(framed(1));
    QTest::keyClick(canvas, Qt::Key_Escape);
    // Scrolled away from it, the pane opens where it was, on the first cell in view.
    bar->setValue(80);
    QTest::keyClick(box, Qt::Key_Enter);
    Settle();
    EXPECT_EQ(bar->value(), 80);
    EXPECT_EQ(canvas->Current(), 15);
    QTest::keyClick(canvas, Qt::Key_Escape);
}

TEST_F(AppFixture, FocusGoesBackToThePreviewBoxHoweverAPaneCloses)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* canvas = Find("FloorSelectCanvas");
    const auto key = [&](Qt::Key k) { QTest::keyClick(canvas, k); };
    // clang-format off
    const struct { const char* way; std::function<void()> close; const char* focus; } rows[] = {
        {"pick with the mouse", [&] { QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(5, 5)); }, "FloorBox"},
        {"pick with the keys", [&] { key(Qt::Key_Right); key(Qt::Key_Return); }, "FloorBox"},
        {"Escape", [&] { key(Qt::Key_Escape); }, "FloorBox"},
        {"its box clicked", [&] { QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10)); }, "FloorBox"},
        {"a click on the map", [&] { Click(Qt::LeftButton, {300, 300}); }, "FloorBox"},
        {"another box clicked", [&] { QTest::mouseClick(Find("WallBox"), Qt::LeftButton, {}, QPoint(10, 10)); }, "WallSelectCanvas"},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.way);
        QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(40, 40));
        Settle();
        ASSERT_TRUE(canvas->hasFocus());
        r.close();
        EXPECT_FALSE(Find("FloorSelect")->isVisible());
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(r.focus));
        Find("WallSelect")->hide();
    }

    // Opened with the mouse, no picture is marked: Enter only marks one, the
    // next Enter picks what the user now sees.
    Pick(BrushKind::Floor, 1);
    QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
    Settle();
    key(Qt::Key_Return);
    EXPECT_TRUE(Find("FloorSelect")->isVisible());
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (red)"));
    key(Qt::Key_Left);
    key(Qt::Key_Space);
    EXPECT_FALSE(Find("FloorSelect")->isVisible());
    EXPECT_EQ(Panel("Panel3"), QStringLiteral("Mode = Tile (blue)"));
}

TEST_F(AppFixture, DoubleClickOnAThumbnailPicksOnceAndPressesNothingBeneath)
{
    // Enough pictures that thumbnails lie over every brush button.
    for (int i = 2; i < 25; ++i)
        testsupport::WritePng(dir.filePath(QStringLiteral("Floors/f%1.png").arg(i)), 72, 72,
                              QColor(i * 8, 0, 0));
    for (const char* name : {"crate", "drum"})
        testsupport::WritePng(
            dir.filePath(QLatin1String("Objects/%1.png").arg(QLatin1String(name))), 30, 20,
            Qt::gray);
    // clang-format off
    const struct { BrushKind kind; const char* button; const char* mode; } rows[] = {
        {BrushKind::Floor, "btnFlipHorizontal", "Mode = Tile ("}, {BrushKind::Object, "btnFlipVertical", "Mode = Object ("},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.button);
        const TileKindInfo& info = KindInfo(r.kind);
        QTest::mouseClick(Find(info.boxName), Qt::LeftButton, {}, QPoint(10, 10));
        Settle();
        QWidget* button = Find(r.button);
        QWidget* canvas = Find(info.canvasName);
        const QPoint onButton = button->rect().center();
        const QPoint onThumbnail = canvas->mapFromGlobal(button->mapToGlobal(onButton));
        ASSERT_TRUE(QRect(0, 0, 190, 190).contains(onThumbnail));
        // As the window system delivers a double-click: the first press and
        // release on the thumbnail; the second press, as a press and a
        // double-click, and its release where the pane was: on the button.
        QTest::mouseClick(canvas, Qt::LeftButton, {}, onThumbnail);
        ASSERT_FALSE(Find(info.paneName)->isVisible());
        QTest::mousePress(button, Qt::LeftButton, {}, onButton);
        QTest::mouseDClick(button, Qt::LeftButton, {}, onButton);
        QTest::mouseRelease(button, Qt::LeftButton, {}, onButton);
        EXPECT_TRUE(Panel("Panel3").startsWith(QLatin1String(r.mode)))
            << Panel("Panel3").toStdString();
        EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 0);
        // A click after the double-click time is a click again.
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
    QTest::mouseClick(Find("btnFlipHorizontal"), Qt::LeftButton);
    EXPECT_EQ(window->CurrentBrush().ObjectOrientation, 4);
}

} // namespace apptest
