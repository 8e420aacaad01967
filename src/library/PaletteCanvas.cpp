#include "library/PaletteCanvas.h"

#include "library/PaletteLayout.h"
#include "library/PaletteModel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace halvorn {

PaletteCanvas::PaletteCanvas(TileKind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    // Tooltips follow the cell under the mouse without a button held.
    setMouseTracking(true);
}

void PaletteCanvas::SetModel(const PaletteModel* model)
{
    model_ = model;
}

void PaletteCanvas::paintEvent(QPaintEvent* event)
{
    if (!model_ || !model_->IsOpen() || model_->Kind() != kind_)
        return;
    const QRect area = event->rect();
    const CellRange cells = PaletteCellsInRows(kind_, area.top(), area.height());
    QPainter painter(this);
    for (int index = cells.first; index < std::min(cells.end, model_->Count()); ++index) {
        const QImage thumbnail = model_->Thumbnail(index);
        if (!thumbnail.isNull())
            painter.drawImage(ThumbnailRect(kind_, index, thumbnail.size()).topLeft(), thumbnail);
    }
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

} // namespace halvorn
