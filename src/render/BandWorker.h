// Two hands for one picture: the calling thread and one helper thread that
// lives as long as its owner. Qt's raster engine would hand any draw of 96 or
// more spans to its own thread pool and wait for it, which on two cores costs
// more than it saves; drawing bands of at most 64 rows keeps each draw on the
// thread that makes it, and the bands are shared out here instead.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace halvorn {

class BandWorker {
public:
    BandWorker() = default;
    BandWorker(const BandWorker&) = delete;
    BandWorker& operator=(const BandWorker&) = delete;
    ~BandWorker();

    // Runs task(0) .. task(count - 1), each exactly once, on this thread and
    // the helper, and returns when all have run. Tasks must not depend on
    // each other. An exception from a task is thrown here after all ended.
    void Run(int count, const std::function<void(int)>& task);

private:
    void Loop();
    int Next();
    void Work(const std::function<void(int)>& task);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::thread thread_;
    const std::function<void(int)>* task_ = nullptr;
    int count_ = 0;
    int next_ = 0;
    unsigned job_ = 0;
    bool helperBusy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
};

} // namespace halvorn
