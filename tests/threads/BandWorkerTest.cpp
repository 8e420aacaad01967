// The band worker on its own: every task runs once, on the calling thread
// and the helper, and a failing task's exception reaches the caller after
// all others ended. Built also with ThreadSanitizer (the threads label).
#include "render/BandWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace halvorn;

TEST(BandWorker, RunsEveryTaskOnceAndReturnsWhenAllRan)
{
    const struct {
        int count;
        int throwAt; // -1: none
        bool throws;
    } rows[] = {
        {0, -1, false}, {1, -1, false}, {2, -1, false}, {17, -1, false},  {500, -1, false},
        {1, 0, true},   {9, 0, true},   {9, 8, true},   {300, 150, true},
    };
    BandWorker worker;
    for (const auto& r : rows) {
        std::vector<std::atomic<int>> runs(static_cast<size_t>(r.count));
        std::atomic<int> after{0};
        const auto task = [&](int i) {
            runs[static_cast<size_t>(i)].fetch_add(1);
            if (i == r.throwAt)
                throw std::runtime_error("band " + std::to_string(i));
            after.fetch_add(1);
        };
        if (r.throws) {
            EXPECT_THROW(worker.Run(r.count, task), std::runtime_error) << r.count;
        } else {
            worker.Run(r.count, task);
            EXPECT_EQ(after.load(), r.count);
        }
        // Nothing runs twice; after a failure the rest may be skipped, but
        // nothing is still running once Run has returned.
        int ran = 0;
        for (const std::atomic<int>& n : runs) {
            EXPECT_LE(n.load(), 1) << r.count;
            ran += n.load();
        }
        if (!r.throws) {
            EXPECT_EQ(ran, r.count);
        }
        const int settled = ran;
        std::this_thread::yield();
        int again = 0;
        for (const std::atomic<int>& n : runs)
            again += n.load();
        EXPECT_EQ(again, settled) << "a task ran after Run returned";
    }
}

TEST(BandWorker, SharesTheTasksWithItsHelper)
{
    BandWorker worker;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    // Slow enough tasks that the helper wakes before the caller ends them all.
    for (int attempt = 0; attempt < 20 && threads.size() < 2; ++attempt)
        worker.Run(64, [&](int) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            const std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        });
    EXPECT_EQ(threads.size(), 2u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 1u);
}

TEST(BandWorker, OneTaskStaysOnTheCallingThread)
{
    BandWorker worker;
    std::thread::id ranOn;
    worker.Run(1, [&](int) { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}
