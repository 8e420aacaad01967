#include "library/ThumbnailLoader.h"

#include "library/Thumbnail.h"

#include <algorithm>
#include <system_error>

namespace halvorn {

namespace {

// At most this often the owner's thread takes a batch while work goes on: a
// screen refresh or so, quicker than the eye follows. Waking it for every
// picture would cost it more than the pictures cost the workers.
constexpr int DrainPauseMs = 10;

size_t WorkerCount()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

// A picture that cannot be made (not even the memory for its thumbnail) is
// refused like any unreadable one; nothing may end a worker thread early.
QImage ThumbnailOrNone(BrushKind kind, const QString& path, QColor background)
{
    try {
        return MakeThumbnail(kind, path, background);
    } catch (...) {
        return {};
    }
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent)
{
    drainTimer_.setInterval(DrainPauseMs);
    connect(&drainTimer_, &QTimer::timeout, this, &ThumbnailLoader::Drain);
}

ThumbnailLoader::~ThumbnailLoader()
{
    Stop();
}

void ThumbnailLoader::Start(BrushKind kind, QColor background,
                            std::vector<ThumbnailRequest> requests)
{
    if (requests.empty()) {
        Stop();
        return;
    }
    // The workers of an earlier job are kept: each finishes the picture it is
    // on, which is thrown away, and goes on with this job.
    requested_ = requests.size();
    delivered_ = 0;
    busy_ = true;
    {
        const std::lock_guard lock(mutex_);
        ++job_;
        kind_ = kind;
        background_ = background;
        requests_ = std::move(requests);
        taken_.assign(requests_.size(), false);
        untaken_ = requests_.size();
        next_ = 0;
        lowest_ = 0;
        ready_.clear();
    }
    wake_.notify_all();
    const size_t wanted = std::min(WorkerCount(), requested_);
    try {
        while (workers_.size() < wanted)
            workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // No more threads to be had: the ones there are do the work, and
        // without any the owner's thread makes the pictures (see Drain).
    }
    drainTimer_.start();
}

void ThumbnailLoader::Prefer(int entry)
{
    const std::lock_guard lock(mutex_);
    const auto at = std::lower_bound(requests_.begin(), requests_.end(), entry,
                                     [](const ThumbnailRequest& r, int e) { return r.entry < e; });
    next_ = static_cast<size_t>(at - requests_.begin());
}

void ThumbnailLoader::Stop()
{
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
    {
        const std::lock_guard lock(mutex_);
        quit_ = false;
        ++job_;
        requests_.clear();
        taken_.clear();
        untaken_ = 0;
        ready_.clear();
    }
    busy_ = false;
    drainTimer_.stop();
}

const ThumbnailRequest* ThumbnailLoader::Take()
{
    const auto untaken = [&](size_t from) {
        while (from < taken_.size() && taken_[from])
            ++from;
        return from;
    };
    lowest_ = untaken(lowest_);
    next_ = untaken(std::max(next_, lowest_));
    if (next_ == taken_.size())
        next_ = lowest_; // past the end of the preferred part: wrap to the first left
    if (next_ == taken_.size())
        return nullptr;
    taken_[next_] = true;
    --untaken_;
    return &requests_[next_++];
}

void ThumbnailLoader::Work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || untaken_ > 0; });
        if (quit_)
            return;
        const ThumbnailRequest* request = Take();
        const unsigned job = job_;
        const int entry = request->entry;
        const QString path = request->path;
        const BrushKind kind = kind_;
        const QColor background = background_;
        lock.unlock();
        ThumbnailResult result{entry, ThumbnailOrNone(kind, path, background)};
        lock.lock();
        if (job == job_)
            ready_.push_back(std::move(result));
    }
}

void ThumbnailLoader::Drain()
{
    std::vector<ThumbnailResult> results;
    {
        const std::lock_guard lock(mutex_);
        if (workers_.empty()) {
            if (const ThumbnailRequest* request = Take())
                ready_.push_back(
                    {request->entry, ThumbnailOrNone(kind_, request->path, background_)});
        }
        results.swap(ready_);
    }
    if (results.empty())
        return;
    delivered_ += results.size();
    if (delivered_ == requested_) {
        busy_ = false;
        drainTimer_.stop();
    }
    emit Delivered(results);
}

} // namespace halvorn
