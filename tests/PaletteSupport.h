// Waiting for a palette to fill: its thumbnails are made on worker threads
// and arrive through the event loop.
#pragma once

#include "library/DetachedWork.h"
#include "library/FolderCalls.h"
#include "library/PaletteModel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace testsupport {

// The one wait for a palette: its listing and thumbnails are made on worker
// threads and arrive through the event loop. Runs the loop until `done`;
// false after five minutes without (thousands of pictures in the sanitizer
// build, on a busy machine).
template <class Done>
bool WaitUntil(Done&& done)
{
    const QDeadlineTimer deadline(300'000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// Until the model has every thumbnail.
inline bool WaitUntilFilled(const halvorn::PaletteModel& model)
{
    return WaitUntil([&] { return !model.IsFilling(); });
}

// Until the model's folder listing has arrived.
inline bool WaitUntilListed(const halvorn::PaletteModel& model)
{
    return WaitUntil([&] { return !model.IsListing(); });
}

// Opens the kind's palette on `folder` in the model alone and waits for the
// listing and every thumbnail.
inline bool FillPalette(halvorn::PaletteModel& model, halvorn::BrushKind kind,
                        const QString& folder, QColor background)
{
    model.Open(kind, folder, background);
    return WaitUntilFilled(model);
}

// A tile folder on storage that answers slowly or not at all: every call the
// palette makes under `folder` waits `delay`, or while held until Release.
// Release lets every call go and waits for the threads caught in them, so no
// test leaves one behind.
class SlowFolder {
public:
    explicit SlowFolder(QString folder, std::chrono::milliseconds delay = {})
        : state_(std::make_shared<State>())
    {
        halvorn::foldercalls::SetHook([state = state_, folder = std::move(folder),
                                       delay](halvorn::foldercalls::Call, const QString& path) {
            if (!path.startsWith(folder))
                return 0;
            std::unique_lock lock(state->mutex);
            if (state->held)
                state->released.wait(lock, [&] { return state->over; });
            else
                state->released.wait_for(lock, delay, [&] { return state->over; });
            return 0;
        });
    }
    ~SlowFolder() { Release(); }
    SlowFolder(const SlowFolder&) = delete;
    SlowFolder& operator=(const SlowFolder&) = delete;

    void Hold(bool held)
    {
        const std::lock_guard lock(state_->mutex);
        state_->held = held;
    }
    // False when a thread is still in a call a minute later.
    bool Release()
    {
        {
            const std::lock_guard lock(state_->mutex);
            state_->over = true;
        }
        state_->released.notify_all();
        const QDeadlineTimer deadline(60'000);
        while (halvorn::DetachedWorkRunning() > 0 && !deadline.hasExpired())
            QTest::qWait(5);
        halvorn::foldercalls::SetHook({});
        return halvorn::DetachedWorkRunning() == 0;
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable released;
        bool held = false;
        bool over = false;
    };
    std::shared_ptr<State> state_;
};

} // namespace testsupport
