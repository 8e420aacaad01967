#include "library/TileListingJob.h"

#include "library/DetachedWork.h"
#include "library/TileListing.h"

#include <mutex>

namespace halvorn {

namespace {

// As often as the thumbnails are drained: the listing shows within a frame
// of its end.
constexpr int PollPauseMs = 10;

} // namespace

struct TileListingJob::Outcome {
    std::mutex mutex; // guards what follows
    bool done = false;
    QStringList paths;
};

TileListingJob::TileListingJob(QObject* parent) : QObject(parent)
{
    pollTimer_.setInterval(PollPauseMs);
    connect(&pollTimer_, &QTimer::timeout, this, &TileListingJob::Poll);
}

TileListingJob::~TileListingJob()
{
    Stop();
}

void TileListingJob::Start(const QString& folder)
{
    Stop();
    auto outcome = std::make_shared<Outcome>();
    const auto list = [outcome, folder] {
        QStringList paths = ListTileNames(folder);
        const std::lock_guard lock(outcome->mutex);
        outcome->paths = std::move(paths);
        outcome->done = true;
    };
    outcome_ = outcome;
    busy_ = true;
    // Without a thread to be had, here: slow, but the palette still opens.
    if (!StartDetached(list))
        list();
    pollTimer_.start();
}

void TileListingJob::Stop()
{
    outcome_.reset();
    busy_ = false;
    pollTimer_.stop();
}

void TileListingJob::Poll()
{
    if (!outcome_)
        return;
    QStringList paths;
    {
        const std::lock_guard lock(outcome_->mutex);
        if (!outcome_->done)
            return;
        paths.swap(outcome_->paths);
    }
    Stop();
    emit Listed(paths);
}

} // namespace halvorn
