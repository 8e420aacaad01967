#include "app/MapCanvas.h"

#include "map/CanvasTool.h"
#include "map/Numeric.h"

#include <QMouseEvent>
#include <QPainter>

namespace halvorn {

namespace {

int ToolButtons(Qt::MouseButtons buttons)
{
    int sum = 0;
    if (buttons & Qt::LeftButton)
        sum += LeftButton;
    if (buttons & Qt::RightButton)
        sum += RightButton;
    if (buttons & Qt::MiddleButton)
        sum += MiddleButton;
    return sum;
}

} // namespace

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Canvas"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool MapCanvas::event(QEvent* event)
{
    // Qt 6.4 tells widgets of a move to another screen with this event, Qt
    // 6.6 and later of any new ratio with its own; a scale changed on the
    // same screen shows at the latest in the repaint that follows it, see
    // paintEvent.
    if (event->type() == QEvent::ScreenChangeInternal)
        CheckRatio();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange)
        CheckRatio();
#endif
    return QWidget::event(event);
}

void MapCanvas::CheckRatio()
{
    // Runs inside paintEvent too, where no redraw may start: the notice is
    // posted, one for any number of checks until it arrives, and it looks
    // at the ratios again then.
    if (ratioNoticePosted_ || ScreenRatio() == pictures_.Ratio())
        return;
    ratioNoticePosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            ratioNoticePosted_ = false;
            if (ScreenRatio() != pictures_.Ratio())
                emit ScreenRatioChanged();
        },
        Qt::QueuedConnection);
}

void MapCanvas::paintEvent(QPaintEvent* event)
{
    CheckRatio();
    QPainter p(this);
    // Beyond the picture (or before the first redraw) the canvas is white.
    p.fillRect(event->rect(), Qt::white);
    // The picture carries its device pixel ratio, so it lands one picture
    // pixel on one screen pixel.
    p.drawImage(0, 0, pictures_.Screen());
}

void MapCanvas::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(ToolButtons(event->button()), event->position());
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(ToolButtons(event->buttons()), event->position());
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(ToolButtons(event->button()), event->position());
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers the second press of a double-click as this event, and its
    // default turns it into another press: in Object mode that stacked a
    // second object on the first. Only the release of that press counts.
    event->accept();
}

FootprintMarker::FootprintMarker(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Cursor"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    Place();
}

void FootprintMarker::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void FootprintMarker::SetTopLeft(QPointF topLeft)
{
    topLeft_ = topLeft;
    Place();
}

void FootprintMarker::SetSize(QSizeF size)
{
    size_ = size;
    Place();
}

void FootprintMarker::Place()
{
    setGeometry(RoundToInt(topLeft_.x()), RoundToInt(topLeft_.y()),
                std::max(1, RoundToInt(size_.width())), std::max(1, RoundToInt(size_.height())));
    update();
}

void FootprintMarker::paintEvent(QPaintEvent*)
{
    // A widget cannot be 0 x 0 and stay placed; an empty footprint draws nothing.
    if (RoundToInt(size_.width()) <= 0 || RoundToInt(size_.height()) <= 0)
        return;
    // Four strips one pixel wide, filled: at 125 % or 150 % the widget's edge
    // falls inside a screen pixel, and a one-pixel line drawn on it was
    // rounded outside the widget and lost. A filled strip always covers at
    // least one whole screen pixel inside it.
    QPainter p(this);
    const qreal w = width();
    const qreal h = height();
    for (const QRectF& strip :
         {QRectF(0, 0, w, 1), QRectF(0, h - 1, w, 1), QRectF(0, 0, 1, h), QRectF(w - 1, 0, 1, h)})
        p.fillRect(strip, color_);
}

} // namespace halvorn
