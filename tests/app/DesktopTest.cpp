// What the editor looks like on the desktops people have: fractional screen
// scales, dark colour schemes, larger fonts, keyboards and screen readers.
#include "AppFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QToolButton>

#include <cmath>

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

// ctest runs this also under QT_SCALE_FACTOR 1.25 and 1.5.
TEST_F(AppFixture, FootprintMarkerShowsAllFourSidesAtTheScreensScale)
{
    ChooseKind("FloorBox");
    QWidget* marker = Find("Cursor");
    for (const QPointF at : {QPointF(100, 100), QPointF(150, 300), QPointF(230, 230)}) {
        Move(at);
        ASSERT_TRUE(marker->isVisible());
        const QImage shot = window->grab().toImage();
        const double dpr = shot.devicePixelRatio();
        const QRectF r(QPointF(marker->mapTo(window.get(), QPoint(0, 0))) * dpr,
                       QSizeF(marker->size()) * dpr);
        SCOPED_TRACE(QString("at %1,%2 ratio %3").arg(at.x()).arg(at.y()).arg(dpr).toStdString());
        const QRgb red = qRgb(255, 0, 0);
        const int x0 = int(r.left()) + 4, x1 = int(r.right()) - 4;
        const int y0 = int(r.top()) + 4, y1 = int(r.bottom()) - 4;
        EXPECT_TRUE(LineNear(shot, true, r.top(), x0, x1, red)) << "top";
        EXPECT_TRUE(LineNear(shot, true, r.bottom() - 1, x0, x1, red)) << "bottom";
        EXPECT_TRUE(LineNear(shot, false, r.left(), y0, y1, red)) << "left";
        EXPECT_TRUE(LineNear(shot, false, r.right() - 1, y0, y1, red)) << "right";
    }
}

} // namespace apptest
