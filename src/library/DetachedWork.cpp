#include "library/DetachedWork.h"

#include <atomic>
#include <system_error>
#include <thread>

namespace halvorn {

namespace {

std::atomic<int> Running{0};

} // namespace

bool StartDetached(std::function<void()> work)
{
    ++Running;
    try {
        std::thread([work = std::move(work)]() mutable {
            // Nothing thrown may end the program from a thread nobody joins.
            try {
                work();
            } catch (...) {
            }
            // What the work held goes before the count says it has ended.
            work = nullptr;
            --Running;
        }).detach();
    } catch (const std::system_error&) {
        --Running;
        return false;
    }
    return true;
}

int DetachedWorkRunning()
{
    return Running.load();
}

} // namespace halvorn
