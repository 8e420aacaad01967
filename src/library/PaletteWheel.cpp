#include "library/PaletteWheel.h"

#include "map/Zoom.h"

#include <cmath>

namespace halvorn {

int PaletteWheel::Pixels(QPoint angleDelta, QPoint pixelDelta, Qt::KeyboardModifiers modifiers,
                         int rowsPerNotch)
{
    // The same axis rule as a zoom by the wheel: a turn with Alt held comes
    // sideways from X11, a sideways tilt without it is no turn.
    const bool byPixels = !pixelDelta.isNull();
    const int turn = WheelTurn(byPixels ? pixelDelta : angleDelta, modifiers);
    // Away from the user is positive in the event and up the list here.
    const double wanted =
        byPixels ? -turn : -static_cast<double>(turn) * rowsPerNotch * rowPitch_ / 120.0;
    // A turn in the other direction does not first pay back what the
    // previous direction left over.
    if ((wanted > 0 && pending_ < 0) || (wanted < 0 && pending_ > 0))
        pending_ = 0.0;
    pending_ += wanted;
    const double whole = std::trunc(pending_);
    pending_ -= whole;
    return static_cast<int>(whole);
}

} // namespace halvorn
