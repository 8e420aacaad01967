#include "AppFixture.h"

#include <QScreen>
#include <private/qhighdpiscaling_p.h>
#include <private/qwidget_p.h>
#include <qpa/qwindowsysteminterface.h>

namespace apptest {

namespace {

// Gives the main window a client area of this size (the menu bar is above it).
void ResizeClient(frmMain* w, int width, int height)
{
    w->resize(width, height + w->height() - w->ClientArea()->height());
}

// Makes the window report a decoration of these margins, as a window manager
// would; the offscreen platform draws none.
void FakeDecoration(QWidget* w, QMargins frame)
{
    QWidgetPrivate* d = QWidgetPrivate::get(w);
    d->topData()->frameStrut.setCoords(frame.left(), frame.top(), frame.right(), frame.bottom());
    d->data.fstrut_dirty = false;
}

// A wheel event for `target`; true when `target` took it. One it does not
// take, the window system would hand on to its parents and so to the window.
// With Alt held the X11 platform reports the turn sideways.
bool SendWheel(QWidget* target, QPoint delta, Qt::KeyboardModifiers modifiers)
{
    return testsupport::SendWheel(target, QPointF(5, 5), delta, modifiers);
}

} // namespace

TEST_F(AppFixture, WheelOverAnOpenPaneScrollsItByRowsAndNeverZooms)
{
    // A hundred floors and the two of every test: 21 rows, five in view.
    for (int i = 0; i < 100; ++i)
        testsupport::WritePng(dir.filePath(QStringLiteral("Floors/f%1.png").arg(i)), 72, 72,
                              Qt::gray);
    QTest::mouseClick(Find("FloorBox"), Qt::LeftButton, {}, QPoint(10, 10));
    Settle();
    auto* pane = Find<PalettePane>("FloorSelect");
    ASSERT_TRUE(pane->isVisible());
    QScrollBar* bar = pane->ScrollBar();
    // Three rows of 38 pixels a notch, the desktop's default wheel lines.
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    const int step = 3 * 38, middle = 2 * step, end = bar->maximum();
    ASSERT_EQ(end, 21 * 38 + 2 - 192);
    QWidget *frame = pane, *thumbnails = pane->Canvas(), *scrollBar = bar;
    // Over the thumbnails the pane's own rules hold (tests/library/PaletteFillTest.cpp);
    // over the frame and the scroll bar the same.
    // clang-format off
    const struct { const char* name; QWidget* target; int from; QPoint delta; Qt::KeyboardModifiers modifiers; int to; } rows[] = {
        {"thumbnails, down", thumbnails, 0, {0, -120}, {}, step}, {"frame, down", frame, 0, {0, -120}, {}, step},
        {"scroll bar, up", scrollBar, middle, {0, 120}, {}, step}, {"with Shift and Ctrl", scrollBar, 0, {0, -120}, Qt::ShiftModifier | Qt::ControlModifier, step},
        {"frame at the top", frame, 0, {0, 120}, {}, 0}, {"scroll bar at the end", scrollBar, end, {0, -120}, {}, end},
        {"Alt turns sideways", thumbnails, 0, {-120, 0}, Qt::AltModifier, step}, {"Alt over the scroll bar", scrollBar, middle, {120, 0}, Qt::AltModifier, step},
        {"tilt over the thumbnails", thumbnails, middle, {-120, 0}, {}, middle}, {"tilt over the frame", frame, middle, {120, 0}, {}, middle},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        bar->setValue(r.from);
        const int redraws = window->RedrawCount(true);
        EXPECT_TRUE(SendWheel(r.target, r.delta, r.modifiers)); // kept by the pane
        EXPECT_EQ(bar->value(), r.to);
        EXPECT_EQ(window->Zoom(), 1.0f);
        EXPECT_EQ(window->RedrawCount(true), redraws);
        EXPECT_TRUE(pane->isVisible());
    }

    // Beside the pane the wheel zooms as before, the pane staying open (each
    // way of zooming and its states: the monkey's invariants). With Alt held
    // the turn is reported sideways and zooms all the same; a sideways tilt
    // without Alt is no turn.
    SendWheel(Canvas(), {-120, 0}, Qt::AltModifier);
    SendWheel(Canvas(), {120, 0}, {});
    EXPECT_EQ(window->Zoom(), 0.75f);
    EXPECT_TRUE(pane->isVisible());
}

// Window managers draw title bars of every height, and Wayland's client-side
// decorations are part of the window: none of it may move the viewport,
// which is the client area less the design frame of 8 x 47 and the panel.
TEST_F(AppFixture, ResizeRuleFollowsTheClientArea)
{
    QWidget* holder = Find("MapHolder");
    EXPECT_EQ(holder->geometry(), QRect(192, 53, 800 - 202, 608 - 121));
    // Every zoom decides the scroll bars as a resize does: at 25 % the canvas
    // fits and they go; zoomed back in they are back at once, as they were.
    auto* bar = Find<QScrollBar>("HScroll1");
    bar->setValue(300);
    for (const char* step : {"mnuZoomOut", "mnuZoomOut", "mnuZoomOut"})
        Action(step)->trigger();
    EXPECT_FALSE(bar->isVisible() || Find("VScroll1")->isVisible() || Find("Huukske")->isVisible());
    for (const char* step : {"mnuZoomIn", "mnuZoomIn", "mnuZoomIn"})
        Action(step)->trigger();
    EXPECT_TRUE(bar->isVisible() && Find("VScroll1")->isVisible() && Find("Huukske")->isVisible());
    EXPECT_EQ(bar->value(), 300);
    EXPECT_EQ(Canvas()->x(), -300);
    ResizeClient(window.get(), 900, 700);
    for (const int titleBar : {0, 47, 80}) {
        SCOPED_TRACE(titleBar);
        FakeDecoration(window.get(), QMargins(4, titleBar, 4, 4));
        ASSERT_EQ(window->frameGeometry().height() - window->height(), titleBar + 4);
        window->Form_Resize();
        EXPECT_EQ(holder->size(), QSize(900 - 194, 700 - 74));
        EXPECT_LT(holder->geometry().bottom(), Find("StatusBar1")->geometry().top());
    }
}

// The window moved to a screen of another scale: the canvas is drawn again
// once, at the new ratio, and the map's own picture stays as it was.
TEST_F(AppFixture, AnotherScreenRatioRedrawsTheCanvasOnce)
{
    Pick(BrushKind::Floor, 1);
    Click(Qt::LeftButton, {10, 10});
    const QImage before = Canvas()->Picture().copy();
    const int redraws = window->RedrawCount(true) + window->RedrawCount(false);
    const float ratio = static_cast<float>(window->devicePixelRatioF());
    struct Restore {
        QScreen* screen;
        ~Restore() { QHighDpiScaling::setScreenFactor(screen, 1); }
    } restore{window->screen()};
    QHighDpiScaling::setScreenFactor(restore.screen, 2);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    // From Qt 6.6 on a window learns of its new ratio from the window
    // system, as it does when it moves to another screen.
    QWindowSystemInterface::handleWindowDevicePixelRatioChanged<
        QWindowSystemInterface::SynchronousDelivery>(window->windowHandle());
#endif
    ASSERT_EQ(window->devicePixelRatioF(), 2 * ratio);
    // What the window system's expose of the moved window does.
    window->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->RedrawCount(true) + window->RedrawCount(false), redraws + 1);
    EXPECT_EQ(Canvas()->Pictures().Screen().devicePixelRatio(), 2 * ratio);
    EXPECT_EQ(Canvas()->Pictures().Screen().size(), CanvasSize(window->Map(), 1, 2 * ratio));
    EXPECT_TRUE(Canvas()->Picture() == before);
    EXPECT_EQ(Canvas()->size(), QSize(1080, 1080));
}

} // namespace apptest
