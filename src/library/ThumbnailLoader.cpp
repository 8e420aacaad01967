#include "library/ThumbnailLoader.h"

#include "library/DetachedWork.h"

#include <algorithm>
#include <mutex>
#include <thread>

namespace halvorn {

namespace {

// At most this often the owner's thread takes a batch while work goes on: a
// screen refresh or so, quicker than the eye follows. Waking it for every
// picture would cost it more than the pictures cost the workers.
constexpr int DrainPauseMs = 10;

// A worker waiting on slow storage costs no core, so a job has more workers
// than the machine has cores: their waits overlap. Each holds one picture in
// flight, which bounds the memory they take.
size_t WorkerCount()
{
    return std::max(4u, std::thread::hardware_concurrency());
}

// A picture that cannot be made (not even the memory for its thumbnail) is
// refused like any unreadable one; nothing may end a worker thread early.
QImage ThumbnailOrNone(BrushKind kind, const QString& path, QColor background,
                       ThumbnailCache* cache, std::mutex* largeGate)
{
    try {
        return ReadThumbnail(kind, path, background, cache, largeGate);
    } catch (...) {
        return {};
    }
}

} // namespace

// One job's work, shared by the owner and the job's workers; the requests,
// kind, background and cache never change once the workers have started.
struct ThumbnailLoader::Job {
    BrushKind kind = BrushKind::Floor;
    QColor background;
    std::shared_ptr<ThumbnailCache> cache;
    std::vector<ThumbnailRequest> requests;
    // One large picture at a time among the job's workers: four of 2,400
    // pixels at once would hold 92 MB. Per job, so a worker hanging on a
    // dead share holds up no other job.
    std::mutex largeGate;

    std::mutex mutex; // guards what follows
    bool abandoned = false;
    std::vector<bool> taken;
    size_t next = 0;   // where the next search for an untaken request starts
    size_t lowest = 0; // every request before this one is taken
    std::vector<ThumbnailResult> ready;

    // The next request to make, or none when all are taken. Under mutex.
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

    void Work()
    {
        std::unique_lock lock(mutex);
        while (!abandoned) {
            const ThumbnailRequest* request = Take();
            if (!request)
                return;
            lock.unlock();
            ThumbnailResult result{request->entry, ThumbnailOrNone(kind, request->path, background,
                                                                   cache.get(), &largeGate)};
            lock.lock();
            if (!abandoned)
                ready.push_back(std::move(result));
        }
    }
};

ThumbnailLoader::ThumbnailLoader(std::shared_ptr<ThumbnailCache> cache, QObject* parent)
    : QObject(parent), cache_(std::move(cache))
{
    drainTimer_.setInterval(DrainPauseMs);
    connect(&drainTimer_, &QTimer::timeout, this, &ThumbnailLoader::Drain);
}

ThumbnailLoader::~ThumbnailLoader()
{
    Stop();
}

void ThumbnailLoader::Start(BrushKind kind, QColor background,
                            std::vector<ThumbnailRequest> requests, int preferred)
{
    Stop();
    if (requests.empty())
        return;
    // A fresh job with workers of its own: those of an earlier job may hang
    // in a call and must not hold this one up.
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->background = background;
    job->cache = cache_;
    job->requests = std::move(requests);
    job->taken.assign(job->requests.size(), false);
    job_ = job;
    // Before any worker runs: the first pictures taken are the preferred.
    Prefer(preferred);
    requested_ = job->requests.size();
    delivered_ = 0;
    busy_ = true;
    size_t started = 0;
    while (started < std::min(WorkerCount(), requested_) && StartDetached([job] { job->Work(); }))
        ++started;
    // Without any thread the owner's thread makes the pictures (see Drain).
    threadless_ = started == 0;
    drainTimer_.start();
}

void ThumbnailLoader::Prefer(int entry)
{
    if (!job_)
        return;
    const std::lock_guard lock(job_->mutex);
    const auto at = std::lower_bound(job_->requests.begin(), job_->requests.end(), entry,
                                     [](const ThumbnailRequest& r, int e) { return r.entry < e; });
    job_->next = static_cast<size_t>(at - job_->requests.begin());
}

void ThumbnailLoader::Stop()
{
    if (job_) {
        const std::lock_guard lock(job_->mutex);
        job_->abandoned = true;
        job_->ready.clear();
    }
    job_.reset();
    busy_ = false;
    drainTimer_.stop();
}

void ThumbnailLoader::Drain()
{
    if (!job_)
        return;
    std::vector<ThumbnailResult> results;
    {
        const std::lock_guard lock(job_->mutex);
        if (threadless_) {
            if (const ThumbnailRequest* request = job_->Take())
                job_->ready.push_back(
                    {request->entry, ThumbnailOrNone(job_->kind, request->path, job_->background,
                                                     job_->cache.get(), nullptr)});
        }
        results.swap(job_->ready);
    }
    if (results.empty())
        return;
    delivered_ += results.size();
    if (delivered_ == requested_) {
        busy_ = false;
        drainTimer_.stop();
        job_.reset();
    }
    emit Delivered(results);
}

} // namespace halvorn
