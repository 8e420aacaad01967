#include "library/PalettePane.h"

#include "library/PaletteLayout.h"
#include "map/Numeric.h"

#include <QApplication>
#include <QWheelEvent>

namespace halvorn {

PalettePane::PalettePane(BrushKind kind, QWidget* parent)
    : QFrame(parent), kind_(kind), canvas_(new PaletteCanvas(kind, this)),
      scrollBar_(new QScrollBar(Qt::Vertical, this)), wheel_(PaletteGrid::Of(kind).pitch)
{
    const TileKindInfo& info = KindInfo(kind);
    setObjectName(QString::fromLatin1(info.paneName));
    setGeometry(info.pane);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);

    canvas_->setObjectName(QString::fromLatin1(info.canvasName));
    canvas_->setGeometry(0, 0, PaletteCanvasWidth, canvas_->Grid().CanvasHeight(0));

    scrollBar_->setObjectName(QString::fromLatin1(info.scrollName));
    scrollBar_->setGeometry(info.scrollBar);
    scrollBar_->setRange(0, 0);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(1);
    scrollBar_->raise();
    // Covers dragging, arrow clicks, page clicks and range changes alike.
    connect(scrollBar_, &QScrollBar::valueChanged, this, &PalettePane::Scrolled);
    // The thumbnails and the scroll bar would each scroll their own way, the
    // bar not at all at its ends, letting the turn through to the window.
    canvas_->installEventFilter(this);
    scrollBar_->installEventFilter(this);
    connect(canvas_, &PaletteCanvas::CurrentMoved, this, &PalettePane::ScrollTo);
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
    return canvas_->Grid().CellsInRows(-canvas_->y(), height());
}

void PalettePane::ScrollTo(int index)
{
    const QRect cell = canvas_->Grid().Cell(index);
    const int value = scrollBar_->value();
    if (cell.top() < value)
        scrollBar_->setValue(cell.top());
    else if (cell.bottom() >= value + height())
        scrollBar_->setValue(cell.bottom() + 1 - height());
}

void PalettePane::Scrolled(int value)
{
    // Moved by the difference, so the canvas top stays at minus the value.
    canvas_->move(0, scrollLast_ + canvas_->y() - value);
    scrollLast_ = value;
    emit ViewMoved();
}

void PalettePane::wheelEvent(QWheelEvent* event)
{
    Wheeled(*event);
    event->accept();
}

bool PalettePane::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && (watched == canvas_ || watched == scrollBar_)) {
        Wheeled(*static_cast<QWheelEvent*>(event));
        event->accept();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void PalettePane::Wheeled(const QWheelEvent& event)
{
    // By rows rather than by the bar's small step, a twentieth of the range:
    // that is a few pixels for a short palette and dozens of rows for a long
    // one. The bar keeps the value in range, so a turn past either end of
    // the list changes nothing.
    const int pixels = wheel_.Pixels(event.angleDelta(), event.pixelDelta(), event.modifiers(),
                                     QApplication::wheelScrollLines());
    const int wanted = scrollBar_->value() + pixels;
    scrollBar_->setValue(wanted);
    if (scrollBar_->value() != wanted)
        wheel_.Reset();
}

} // namespace halvorn
