// The palette's workers driven directly, as the panes drive them: whatever
// the owner does meanwhile (prefers other entries, stops, starts again,
// goes away), every thumbnail delivered is the very one MakeThumbnail makes
// of the same file, each at most once and only for the work still wanted.
// Built also with ThreadSanitizer (the threads label).
#include "PaletteSupport.h"
#include "TestSupport.h"
#include "imaging/Imaging.h"
#include "library/DetachedWork.h"
#include "library/FolderCalls.h"
#include "library/Thumbnail.h"
#include "library/ThumbnailLoader.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

using namespace halvorn;

namespace {

// A few hundred: enough that work is still going on when the owner acts,
// few enough for the thread checker's build.
constexpr int Pictures = 240;
const QColor Background(40, 30, 20);

struct Library {
    QTemporaryDir dir;
    QStringList paths;
    std::vector<QImage> expected; // MakeThumbnail of each path, on this thread
};

const Library& Floors()
{
    static const std::unique_ptr<Library> library = [] {
        InitGdip();
        auto made = std::make_unique<Library>();
        for (int i = 1; i <= Pictures; ++i) {
            made->paths << made->dir.filePath(QStringLiteral("t_%1.png").arg(i));
            // Written pixel by pixel, never painted: Qt's painter spreads the
            // spans of a big fill over Qt Gui's own pool of threads, whose
            // hand-overs the thread checker cannot see.
            EXPECT_TRUE(testsupport::Picture(72, 64, i, testsupport::Alpha::Translucent)
                            .save(made->paths.back(), "PNG"))
                << i;
            made->expected.push_back(
                MakeThumbnail(BrushKind::Floor, made->paths.back(), Background));
            EXPECT_FALSE(made->expected.back().isNull()) << i;
        }
        return made;
    }();
    return *library;
}

// Entries numbered from `first`, one for each picture.
std::vector<ThumbnailRequest> Requests(int first)
{
    std::vector<ThumbnailRequest> requests;
    for (int i = 0; i < Pictures; ++i)
        requests.push_back({first + i, Floors().paths[i]});
    return requests;
}

} // namespace

TEST(PaletteWorkers, DeliverExactlyTheThumbnailsStillWanted)
{
    enum class Twist { None, Prefer, Stop, Destroy, Restart, AbandonHanging };
    // clang-format off
    const struct { const char* name; Twist twist; } rows[] = {
        {"runs to the end", Twist::None}, {"prefers the last entries", Twist::Prefer},
        {"stops mid-way", Twist::Stop}, {"goes away mid-way", Twist::Destroy},
        {"starts again mid-way", Twist::Restart}, {"goes away while workers hang in calls", Twist::AbandonHanging},
    };
    // clang-format on
    // Calls on the second half of the pictures hang, as on a dead share,
    // until released.
    std::mutex mutex;
    std::condition_variable released;
    bool hanging = false;
    foldercalls::SetHook([&](foldercalls::Call, const QString& path) {
        std::unique_lock lock(mutex);
        if (Floors().paths.indexOf(path) >= Pictures / 2)
            released.wait(lock, [&] { return !hanging; });
        return 0;
    });
    const Library& library = Floors();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        {
            const std::lock_guard lock(mutex);
            hanging = row.twist == Twist::AbandonHanging;
        }
        auto loader = std::make_unique<ThumbnailLoader>();
        int first = 0; // the entries of the job now wanted start here
        std::map<int, int> deliveries;
        bool lastWithBusyFalse = false;
        QObject::connect(loader.get(), &ThumbnailLoader::Delivered,
                         [&](const std::vector<ThumbnailResult>& results) {
                             for (const ThumbnailResult& r : results) {
                                 ASSERT_GE(r.entry, first);
                                 ASSERT_LT(r.entry, first + Pictures);
                                 ++deliveries[r.entry];
                                 EXPECT_TRUE(r.thumbnail ==
                                             library.expected[static_cast<size_t>(r.entry - first)])
                                     << r.entry;
                             }
                             lastWithBusyFalse = !loader->Busy();
                         });
        loader->Start(BrushKind::Floor, Background, Requests(first));
        EXPECT_TRUE(loader->Busy());
        ASSERT_TRUE(testsupport::WaitUntil([&] { return !deliveries.empty(); }));
        const bool abandoned = row.twist == Twist::Stop || row.twist == Twist::Destroy ||
                               row.twist == Twist::AbandonHanging;
        if (row.twist == Twist::Prefer)
            loader->Prefer(first + Pictures - 10);
        if (row.twist == Twist::Restart) {
            first = 1000;
            deliveries.clear();
            loader->Start(BrushKind::Floor, Background, Requests(first));
        }
        if (row.twist == Twist::Stop) {
            loader->Stop();
            EXPECT_FALSE(loader->Busy());
        } else if (abandoned) {
            loader.reset();
        }
        if (abandoned) {
            const auto stopped = deliveries;
            {
                const std::lock_guard lock(mutex);
                hanging = false;
            }
            released.notify_all();
            // The abandoned workers end once their calls return, unjoined.
            ASSERT_TRUE(testsupport::WaitUntil([] { return DetachedWorkRunning() == 0; }));
            QTest::qWait(20);
            EXPECT_EQ(deliveries, stopped) << "delivered after the work was abandoned";
            continue;
        }
        ASSERT_TRUE(testsupport::WaitUntil([&] { return !loader->Busy(); }));
        EXPECT_TRUE(lastWithBusyFalse);
        ASSERT_EQ(deliveries.size(), static_cast<size_t>(Pictures));
        for (const auto& [entry, times] : deliveries)
            EXPECT_EQ(times, 1) << entry;
    }
    foldercalls::SetHook({});
}
