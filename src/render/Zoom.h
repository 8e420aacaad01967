// The four zoom steps of the view and the texts and states that follow them.
#pragma once

#include <QString>

namespace halvorn {

inline constexpr float MinZoom = 0.25f;
inline constexpr float MaxZoom = 1.0f;

// One step in or out; at the limits the zoom stays.
float ZoomInStep(float zoom);
float ZoomOutStep(float zoom);

bool ZoomInEnabled(float zoom);
bool ZoomOutEnabled(float zoom);

// "ZoomLevel = " + the percentage with a leading blank + "%" ("ZoomLevel =  25%").
QString ZoomLevelText(float zoom);

// Turns wheel deltas into whole notches: a mouse sends +-120 per notch, a
// touchpad many small deltas, and either way one notch is one zoom step.
class WheelAccumulator {
public:
    // Adds a delta and returns the number of whole notches completed
    // (positive away from the user).
    int Add(int delta);
    void Reset() { pending_ = 0; }

private:
    int pending_ = 0;
};

} // namespace halvorn
