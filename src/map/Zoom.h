// The four zoom steps of the view and the texts and states that follow them.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

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

// The turn a wheel event stands for, in eighths of a degree (positive away
// from the user): its vertical delta, or its horizontal one while Alt is held,
// since X11 reports a wheel turned with Alt as turning sideways. A sideways
// tilt without Alt is no turn at all: 0.
int WheelTurn(QPoint angleDelta, Qt::KeyboardModifiers modifiers);

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
