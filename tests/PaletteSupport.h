// Waiting for a palette to fill: its thumbnails are made on worker threads
// and arrive through the event loop.
#pragma once

#include "library/PaletteModel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace testsupport {

// Runs the event loop until the model has every thumbnail; false after five
// minutes without (thousands of pictures in the sanitizer build, on a busy
// machine).
inline bool WaitUntilFilled(const halvorn::PaletteModel& model)
{
    QDeadlineTimer deadline(300'000);
    while (model.IsFilling() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return !model.IsFilling();
}

// The same until the model's folder listing has arrived.
inline bool WaitUntilListed(const halvorn::PaletteModel& model)
{
    QDeadlineTimer deadline(300'000);
    while (model.IsListing() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return !model.IsListing();
}

// Opens the kind's palette on `folder` in the model alone and waits for the
// listing and every thumbnail.
inline bool FillPalette(halvorn::PaletteModel& model, halvorn::BrushKind kind,
                        const QString& folder, QColor background)
{
    model.Open(kind, folder, background);
    return WaitUntilFilled(model);
}

} // namespace testsupport
