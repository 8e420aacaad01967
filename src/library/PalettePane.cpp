#include "library/PalettePane.h"

#include "library/PaletteLayout.h"
#include "map/Numeric.h"

#include <QApplication>

namespace halvorn {

PalettePane::PalettePane(TileKind kind, QWidget* parent)
    : QFrame(parent), kind_(kind), canvas_(new PaletteCanvas(kind, this)),
      scrollBar_(new QScrollBar(Qt::Vertical, this))
{
    const TileKindInfo& info = KindInfo(kind);
    setObjectName(QString::fromLatin1(info.frameName));
    setGeometry(info.frame);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);

    canvas_->setObjectName(QString::fromLatin1(info.canvasName));
    canvas_->setGeometry(0, 0, PaletteCanvasWidth, PaletteCanvasHeight(kind, 0));

    scrollBar_->setObjectName(QString::fromLatin1(info.scrollName));
    scrollBar_->setGeometry(info.scrollBar);
    scrollBar_->setRange(0, 0);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(1);
    scrollBar_->raise();
    // Covers dragging, arrow clicks, page clicks and range changes alike.
    connect(scrollBar_, &QScrollBar::valueChanged, this, &PalettePane::Scrolled);
    connect(canvas_, &PaletteCanvas::Wheeled, this, &PalettePane::Wheeled);
}

void PalettePane::SetCanvasHeight(int height)
{
    canvas_->resize(PaletteCanvasWidth, height);
    const ScrollSteps steps = PaletteScrollSteps(height);
    scrollBar_->setMaximum(steps.maximum);
    if (steps.largeStep)
        scrollBar_->setPageStep(*steps.largeStep);
    if (steps.smallStep)
        scrollBar_->setSingleStep(*steps.smallStep);
}

CellRange PalettePane::VisibleCells() const
{
    return PaletteCellsInRows(kind_, -canvas_->y(), height());
}

void PalettePane::Scrolled(int value)
{
    // Moved by the difference, so the canvas top stays at minus the value.
    canvas_->move(0, scrollLast_ + canvas_->y() - value);
    scrollLast_ = value;
    emit ViewMoved();
}

void PalettePane::Wheeled(int angleDelta)
{
    // One notch is 120; it moves as many small steps as the desktop's lines.
    const double notches = angleDelta / 120.0;
    const int lines = QApplication::wheelScrollLines();
    scrollBar_->setValue(scrollBar_->value() - RoundToInt(notches * lines * scrollBar_->singleStep()));
}

} // namespace halvorn
