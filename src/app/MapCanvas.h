// The map surface: shows the canvas picture that Redraw paints and reports
// mouse input in canvas pixels, with buttons counted as the tool counts them.
#pragma once

#include <QImage>
#include <QWidget>

namespace halvorn {

class MapCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MapCanvas(QWidget* parent);

    // The persistent picture. Only the main window's Redraw writes it.
    QImage& Picture() { return picture_; }
    const QImage& Picture() const { return picture_; }
    // Shows the picture as it now is.
    void Refresh() { update(); }

signals:
    void MouseDown(int button, QPointF pos);
    void MouseMove(int buttons, QPointF pos);
    void MouseUp(int button, QPointF pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

// The footprint marker: an outline showing where the next stamp of the brush
// lands. It never takes mouse input, so the canvas under it keeps receiving it.
class FootprintMarker : public QWidget {
    Q_OBJECT
public:
    explicit FootprintMarker(QWidget* parent);

    void SetColor(const QColor& color);
    QColor Color() const { return color_; }
    // Position and size in canvas pixels; fractional values are kept so that
    // objects land exactly where the marker's arithmetic puts them.
    void SetTopLeft(QPointF topLeft);
    void SetSize(QSizeF size);
    QPointF TopLeft() const { return topLeft_; }
    QSizeF Size() const { return size_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Place();

    QColor color_{255, 0, 0};
    QPointF topLeft_{0, 0};
    QSizeF size_{72, 72};
};

} // namespace halvorn
