// The map surface: shows the canvas picture that Redraw paints and reports
// mouse input in canvas pixels, with buttons counted as the tool counts them.
// Its size, the mouse and the marker are in canvas pixels at every screen
// scale; only the picture it shows has the screen's device pixels.
#pragma once

#include "render/CanvasPictures.h"

#include <QImage>
#include <QWidget>

namespace halvorn {

class MapCanvas : public QWidget {
    Q_OBJECT
public:
    explicit MapCanvas(QWidget* parent);

    // The persistent pictures. Only the main window's Redraw writes them.
    CanvasPictures& Pictures() { return pictures_; }
    // The map's own picture, one pixel per canvas pixel at any screen scale:
    // what export and printing take.
    const QImage& Picture() const { return pictures_.MapPicture(); }
    // Device pixels per canvas pixel of the screen the canvas is on.
    float ScreenRatio() const { return static_cast<float>(devicePixelRatioF()); }
    // Shows the picture as it now is.
    void Refresh() { update(); }

signals:
    // The canvas is now on a screen of another device pixel ratio than its
    // picture was drawn for (the window moved to another screen, or the
    // screen's scale changed): the picture must be drawn again. Always
    // queued, never from inside a paint event.
    void ScreenRatioChanged();
    void MouseDown(int button, QPointF pos);
    void MouseMove(int buttons, QPointF pos);
    void MouseUp(int button, QPointF pos);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Asks for a new picture when the screen's ratio is not the picture's.
    void CheckRatio();

    CanvasPictures pictures_;
    bool ratioNoticePosted_ = false;
};

// The footprint marker: an outline showing where the next stamp of the brush
// lands. It never takes mouse input, so the canvas under it keeps receiving it.
class FootprintMarker : public QWidget {
    Q_OBJECT
public:
    explicit FootprintMarker(QWidget* parent);

    void SetColor(const QColor& color);
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
