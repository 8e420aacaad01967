// The tall strip of thumbnails inside a palette pane, as high as all its
// rows; only the part in view is ever painted, from the palette model's
// thumbnails. It reports where the mouse hovers and presses in its own
// coordinates.
#pragma once

#include "library/TileKind.h"

#include <QPointF>
#include <QWidget>

namespace halvorn {

class PaletteModel;

class PaletteCanvas : public QWidget {
    Q_OBJECT
public:
    PaletteCanvas(TileKind kind, QWidget* parent);

    // The model must outlive the canvas; it shows this kind's thumbnails
    // while it holds this kind's palette.
    void SetModel(const PaletteModel* model);

signals:
    void Hovered(QPointF position);
    void Pressed(QPointF position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TileKind kind_;
    const PaletteModel* model_ = nullptr;
};

} // namespace halvorn
