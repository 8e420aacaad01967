#include "library/FolderCalls.h"

#include <memory>
#include <mutex>

namespace halvorn::foldercalls {

namespace {

// Held by shared pointer: a worker still inside a hook (held there by a test
// that plays a dead share) keeps it alive while the test sets another.
struct Seam {
    std::mutex mutex;
    std::shared_ptr<const Hook> hook;
};

Seam& TheSeam()
{
    static Seam seam;
    return seam;
}

} // namespace

void SetHook(Hook hook)
{
    auto kept = hook ? std::make_shared<const Hook>(std::move(hook)) : nullptr;
    const std::lock_guard lock(TheSeam().mutex);
    TheSeam().hook = std::move(kept);
}

int Before(Call call, const QString& path)
{
    std::shared_ptr<const Hook> hook;
    {
        const std::lock_guard lock(TheSeam().mutex);
        hook = TheSeam().hook;
    }
    return hook ? (*hook)(call, path) : 0;
}

} // namespace halvorn::foldercalls
