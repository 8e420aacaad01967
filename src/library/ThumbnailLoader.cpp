#include "library/ThumbnailLoader.h"

#include "library/Thumbnail.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace halvorn {

namespace {

// At most this often the owner's thread takes a batch while work goes on: a
// screen refresh or so, quicker than the eye follows.
constexpr int DrainPauseMs = 10;

} // namespace

struct ThumbnailLoader::Job {
    BrushKind kind;
    QColor background;
    std::vector<ThumbnailRequest> requests;
    std::atomic<bool> stopped{false};

    std::mutex mutex; // guards everything below
    std::vector<bool> taken;
    size_t next = 0;    // where the next search for an untaken request starts
    size_t lowest = 0;  // every request before this one is taken
    size_t delivered = 0;
    std::vector<ThumbnailResult> ready;
    bool drainPosted = false;

    // The next request to make, or none when all are taken.
    const ThumbnailRequest* Take()
    {
        const auto untaken = [&](size_t from) {
            while (from < taken.size() && taken[from])
                ++from;
            return from;
        };
        lowest = untaken(lowest);
        next = untaken(std::max(next, lowest));
        if (next == taken.size())
            next = lowest; // past the end of the preferred part: wrap to the first left
        if (next == taken.size())
            return nullptr;
        taken[next] = true;
        return &requests[next++];
    }
};

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent)
{
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    Stop();
    pool_.waitForDone();
}

void ThumbnailLoader::Start(BrushKind kind, QColor background, std::vector<ThumbnailRequest> requests)
{
    Stop();
    if (requests.empty())
        return;
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->background = background;
    job->taken.assign(requests.size(), false);
    job->requests = std::move(requests);
    job_ = job;
    const int workers = std::min<int>(pool_.maxThreadCount(), static_cast<int>(job->requests.size()));
    for (int i = 0; i < workers; ++i)
        pool_.start([this, job] { Work(job); });
}

void ThumbnailLoader::Prefer(int entry)
{
    if (!job_)
        return;
    const auto& requests = job_->requests;
    const auto at = std::lower_bound(requests.begin(), requests.end(), entry,
                                     [](const ThumbnailRequest& r, int e) { return r.entry < e; });
    const std::lock_guard lock(job_->mutex);
    job_->next = static_cast<size_t>(at - requests.begin());
}

void ThumbnailLoader::Stop()
{
    if (job_)
        job_->stopped = true;
    job_.reset();
}

void ThumbnailLoader::Work(const std::shared_ptr<Job>& job)
{
    while (!job->stopped) {
        const ThumbnailRequest* request = nullptr;
        {
            const std::lock_guard lock(job->mutex);
            request = job->Take();
        }
        if (!request)
            return;
        ThumbnailResult result{request->entry, MakeThumbnail(job->kind, request->path, job->background)};
        const std::lock_guard lock(job->mutex);
        job->ready.push_back(std::move(result));
        // One queued call drains whatever has piled up by the time it runs,
        // so a fast worker does not flood the owner's event queue.
        if (!job->drainPosted) {
            job->drainPosted = true;
            QMetaObject::invokeMethod(this, [this, job] { Drain(job); }, Qt::QueuedConnection);
        }
    }
}

void ThumbnailLoader::Drain(const std::shared_ptr<Job>& job)
{
    if (job != job_)
        return; // stopped or replaced since
    std::vector<ThumbnailResult> results;
    {
        const std::lock_guard lock(job->mutex);
        results.swap(job->ready);
        job->delivered += results.size();
        if (job->delivered == job->requests.size())
            job_.reset();
        // After a batch the workers stay quiet for a moment: what they make
        // meanwhile comes in the next batch. Waking this thread for every
        // picture would cost it more than the pictures cost the workers.
        job->drainPosted = !results.empty() && job_;
    }
    if (job->drainPosted)
        QTimer::singleShot(DrainPauseMs, this, [this, job] { Drain(job); });
    emit Delivered(results);
}

} // namespace halvorn
