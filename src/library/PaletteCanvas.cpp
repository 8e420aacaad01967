#include "library/PaletteCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace halvorn {

PaletteCanvas::PaletteCanvas(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    // Tooltips follow the cell under the mouse without a button held.
    setMouseTracking(true);
}

void PaletteCanvas::SetPicture(QImage picture)
{
    picture_ = std::move(picture);
    update();
}

void PaletteCanvas::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void PaletteCanvas::mouseMoveEvent(QMouseEvent* event)
{
    emit Hovered(event->position());
}

void PaletteCanvas::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit Pressed(event->position());
}

void PaletteCanvas::wheelEvent(QWheelEvent* event)
{
    event->accept();
    emit Wheeled(event->angleDelta().y());
}

} // namespace halvorn
