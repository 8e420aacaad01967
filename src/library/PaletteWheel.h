// Turns wheel input over a palette into canvas pixels to scroll. A notch of
// a mouse wheel moves a fixed number of thumbnail rows, whatever the length
// of the palette; a high-resolution wheel or a touchpad moves the canvas by
// the pixels it reports, or by its share of a notch's rows.
#pragma once

#include <QPoint>
#include <Qt>

namespace halvorn {

class PaletteWheel {
public:
    // `rowPitch` is the height of one row of thumbnails, in canvas pixels.
    explicit PaletteWheel(int rowPitch) : rowPitch_(rowPitch) {}

    // The canvas pixels one event scrolls by, positive towards the end of the
    // list (a turn towards the user). `pixelDelta` wins when the event has
    // one; else `angleDelta` counts in eighths of a degree, 120 a notch of
    // `rowsPerNotch` rows. What is left of a pixel is kept for the next
    // event in the same direction.
    int Pixels(QPoint angleDelta, QPoint pixelDelta, Qt::KeyboardModifiers modifiers,
               int rowsPerNotch);
    // The list stopped at one of its ends: what was left is dropped.
    void Reset() { pending_ = 0.0; }

private:
    int rowPitch_;
    double pending_ = 0.0;
};

} // namespace halvorn
