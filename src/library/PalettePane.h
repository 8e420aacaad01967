// One palette pane: a dark frame with the thumbnail canvas, moved up and down
// by its vertical scroll bar. The wheel anywhere over the pane (thumbnails,
// frame or scroll bar) moves it by rows of thumbnails (the desktop's wheel
// lines per notch) and never reaches the main window, which would zoom.
#pragma once

#include "library/PaletteCanvas.h"
#include "library/PaletteLayout.h"
#include "library/PaletteWheel.h"
#include "library/TileKind.h"

#include <QFrame>
#include <QScrollBar>

namespace halvorn {

class PalettePane : public QFrame {
    Q_OBJECT
public:
    PalettePane(BrushKind kind, QWidget* parent);

    BrushKind Kind() const { return kind_; }
    PaletteCanvas* Canvas() const { return canvas_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }

    // Makes the canvas `height` pixels high and fits the scroll range to
    // it. The scroll value stays, unless the new range is shorter.
    void SetCanvasHeight(int height);
    // The entries whose cells the pane shows at the current scroll value.
    CellRange VisibleCells() const;
    // Scrolls as little as brings the entry's whole cell into view.
    void ScrollTo(int index);

signals:
    // The canvas moved: other cells are in view.
    void ViewMoved();

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Scrolled(int value);
    void Wheeled(const QWheelEvent& event);

    BrushKind kind_;
    PaletteCanvas* canvas_;
    QScrollBar* scrollBar_;
    int scrollLast_ = 0; // the value the canvas was last moved for
    PaletteWheel wheel_;
};

} // namespace halvorn
