// The tall strip of thumbnails inside a palette pane; it reports where the
// mouse hovers and presses in its own coordinates.
#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace halvorn {

class PaletteCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PaletteCanvas(QWidget* parent);

    void SetPicture(QImage picture);
    const QImage& Picture() const { return picture_; }

signals:
    void Hovered(QPointF position);
    void Pressed(QPointF position);
    // Wheel turns in eighths of a degree, as QWheelEvent::angleDelta gives them.
    void Wheeled(int angleDelta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage picture_;
};

} // namespace halvorn
