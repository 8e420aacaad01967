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
    // clang-format off
    const struct { const char* name; int count; int throwAt; } rows[] = { // throwAt -1: none
        {"none", 0, -1}, {"one", 1, -1}, {"two", 2, -1}, {"seventeen", 17, -1}, {"many", 500, -1},
        {"the only one throws", 1, 0}, {"the first throws", 9, 0}, {"the last throws", 9, 8}, {"one in the middle throws", 300, 150},
    };
    // clang-format on
    BandWorker worker;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::atomic<int>> runs(static_cast<size_t>(r.count));
        std::atomic<int> after{0};
        std::mutex mutex;
        std::set<std::thread::id> threads;
        const auto task = [&](int i) {
            runs[static_cast<size_t>(i)].fetch_add(1);
            {
                const std::lock_guard lock(mutex);
                threads.insert(std::this_thread::get_id());
            }
            if (i == r.throwAt)
                throw std::runtime_error("band " + std::to_string(i));
            after.fetch_add(1);
        };
        if (r.throwAt >= 0) {
            EXPECT_THROW(worker.Run(r.count, task), std::runtime_error);
        } else {
            worker.Run(r.count, task);
            EXPECT_EQ(after.load(), r.count);
        }
        // Nothing runs twice; after a failure the rest may be skipped, but
        // nothing is still running once Run has returned.
        int ran = 0;
        for (const std::atomic<int>& n : runs) {
            EXPECT_LE(n.load(), 1);
            ran += n.load();
        }
        if (r.throwAt < 0) {
            EXPECT_EQ(ran, r.count);
        }
        std::this_thread::yield();
        int again = 0;
        for (const std::atomic<int>& n : runs)
            again += n.load();
        EXPECT_EQ(again, ran) << "a task ran after Run returned";
        // One task stays on the calling thread.
        if (r.count == 1) {
            EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
        }
    }
}
