#include "map/Zoom.h"

#include "map/Numeric.h"

namespace halvorn {

float ZoomInStep(float zoom)
{
    if (zoom == 0.25f)
        return 0.5f;
    if (zoom == 0.5f)
        return 0.75f;
    if (zoom == 0.75f)
        return 1.0f;
    return zoom;
}

float ZoomOutStep(float zoom)
{
    if (zoom == 0.5f)
        return 0.25f;
    if (zoom == 0.75f)
        return 0.5f;
    if (zoom == 1.0f)
        return 0.75f;
    return zoom;
}

bool ZoomInEnabled(float zoom)
{
    return zoom != MaxZoom;
}

bool ZoomOutEnabled(float zoom)
{
    return zoom != MinZoom;
}

QString ZoomLevelText(float zoom)
{
    const double percent = static_cast<double>(zoom * 100.0f);
    const QString number = NumberText(percent);
    return QStringLiteral("ZoomLevel = ") + (percent >= 0 ? QStringLiteral(" ") : QString()) +
           number + QStringLiteral("%");
}

int WheelTurn(QPoint angleDelta, Qt::KeyboardModifiers modifiers)
{
    if (angleDelta.y() != 0)
        return angleDelta.y();
    return modifiers.testFlag(Qt::AltModifier) ? angleDelta.x() : 0;
}

int WheelAccumulator::Add(int delta)
{
    // A turn in the other direction starts a fresh notch rather than first
    // paying back what the previous direction left.
    if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0))
        pending_ = 0;
    pending_ += delta;
    const int notches = pending_ / 120;
    pending_ -= notches * 120;
    return notches;
}

} // namespace halvorn
