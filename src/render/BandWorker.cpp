#include "render/BandWorker.h"

#include <utility>

namespace halvorn {

BandWorker::~BandWorker()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

int BandWorker::Next()
{
    const std::lock_guard lock(mutex_);
    return next_ < count_ ? next_++ : -1;
}

void BandWorker::Work(const std::function<void(int)>& task)
{
    try {
        for (int i = Next(); i >= 0; i = Next())
            task(i);
    } catch (...) {
        const std::lock_guard lock(mutex_);
        if (!failure_)
            failure_ = std::current_exception();
        next_ = count_;
    }
}

void BandWorker::Run(int count, const std::function<void(int)>& task)
{
    if (count <= 1) {
        for (int i = 0; i < count; ++i)
            task(i);
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { Loop(); });
        task_ = &task;
        count_ = count;
        next_ = 0;
        failure_ = nullptr;
        helperBusy_ = true;
        ++job_;
    }
    wake_.notify_one();
    Work(task);
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !helperBusy_; });
    task_ = nullptr;
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
}

void BandWorker::Loop()
{
    unsigned seen = 0;
    for (;;) {
        const std::function<void(int)>* task = nullptr;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || job_ != seen; });
            if (stopping_)
                return;
            seen = job_;
            task = task_;
        }
        Work(*task);
        {
            const std::lock_guard lock(mutex_);
            helperBusy_ = false;
        }
        done_.notify_one();
    }
}

} // namespace halvorn
