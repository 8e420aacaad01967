// The hostile corpus through every door a picture passes: the listing, the
// thumbnail, the loader, and the main window's palette, pick, painting and
// redraw. Times and peak memory per file are printed; memory is checked.
#include "HostileCorpus.h"
#include "HostileWindow.h"
#include "ProcessMemory.h"

#include "PaletteSupport.h"
#include "imaging/Imaging.h"
#include "library/Thumbnail.h"
#include "library/TileListing.h"
#include "oracle/LiteralRenderer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <set>
#include <thread>

using namespace halvorn;
using namespace hostile;

namespace {

constexpr long MemoryBoundKiB = 64 * 1024;

// Opens every named pipe of the list for writing, now and then, so a reader
// that waits on one is let go and counted, instead of hanging the test.
class PipeWatchdog {
public:
    explicit PipeWatchdog(std::vector<QByteArray> pipes)
        : pipes_(std::move(pipes)), thread_([this] { Run(); })
    {
    }
    ~PipeWatchdog()
    {
        stop_ = true;
        thread_.join();
    }
    int ReadersFound() const { return found_; }

private:
    void Run()
    {
        while (!stop_) {
            for (const QByteArray& pipe : pipes_) {
                const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ++found_;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    std::vector<QByteArray> pipes_;
    std::atomic<bool> stop_{false};
    std::atomic<int> found_{0};
    std::thread thread_;
};

std::vector<QByteArray> PipesOf(const QString& folder, const std::vector<CorpusFile>& files)
{
    std::vector<QByteArray> pipes;
    for (const CorpusFile& f : files)
        if (f.kind == QLatin1String("fifo"))
            pipes.push_back(QFile::encodeName(PathOf(folder, f.name)));
    return pipes;
}

// Largest channel difference, ignoring colour where both are fully clear.
int PixelDistance(const QImage& got, const QImage& want)
{
    if (got.size() != want.size())
        return 1000;
    const QImage a = got.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = want.pixel(x, y);
            int d = std::abs(qAlpha(p) - qAlpha(q));
            if (qAlpha(q) != 0)
                d = std::max({d, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
            worst = std::max(worst, d);
        }
    }
    return worst;
}

struct Cost {
    double ms = 0;
    long peakKiB = 0;
};

// Runs `action` and measures its wall time and how far it lifted the peak.
template <class F>
Cost Measure(F&& action)
{
    ResetPeak();
    const long before = ResidentKiB();
    QElapsedTimer timer;
    timer.start();
    action();
    Cost c;
    c.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    c.peakKiB = std::max(0L, PeakResidentKiB() - before);
    return c;
}

TEST(HostilePictures, HugeChunkDeclarationsAreRefusedBeforeTheDecoder)
{
    InitGdip();
    CorpusDir dir;
    const std::vector<CorpusFile> crashers = WriteCrashers(dir.path());
    ASSERT_GE(crashers.size(), 3u);
    for (const CorpusFile& f : crashers) {
        const QString path = PathOf(dir.path(), f.name);
        ImageHandle image = 0;
        int32_t status = -1;
        QImage thumbnail;
        const Cost cost = Measure([&] {
            status = GdipLoadImageFromFile(path, &image);
            thumbnail = MakeThumbnail(BrushKind::Floor, path, Qt::darkGray);
        });
        std::printf("crasher %-32s %6lld bytes  status %2d  %8.2f ms  peak +%ld KiB\n",
                    f.name.constData(), static_cast<long long>(QFileInfo(path).size()), status,
                    cost.ms, cost.peakKiB);
        EXPECT_EQ(status, UnknownImageFormat) << f.name.constData();
        EXPECT_EQ(image, 0u);
        EXPECT_TRUE(thumbnail.isNull()) << f.name.constData();
        if (MemoryIsMeasurable) {
            EXPECT_LE(cost.peakKiB, MemoryBoundKiB) << f.name.constData();
        }
    }

    // A folder of good tiles opens as fast with the crashers beside them.
    CorpusDir good;
    for (const ValidPicture& v : ValidLayouts())
        for (int copy = 0; copy < 8; ++copy) {
            QFile out(good.filePath(QStringLiteral("%1_%2").arg(copy).arg(v.name)));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(
                EncodePng(SourcePicture(72, 72, v.alpha, static_cast<uint32_t>(copy)), v.layout));
        }
    PaletteModel palette(nullptr);
    QStringList without, with;
    const Cost plain = Measure([&] {
        ASSERT_TRUE(testsupport::FillPalette(palette, BrushKind::Floor, good.path(), Qt::darkGray));
        without = palette.PathsOf(BrushKind::Floor);
    });
    WriteCrashers(good.path());
    // A fresh model: nothing kept from the first opening.
    PaletteModel fresh(nullptr);
    const Cost mixed = Measure([&] {
        ASSERT_TRUE(testsupport::FillPalette(fresh, BrushKind::Floor, good.path(), Qt::darkGray));
        with = fresh.PathsOf(BrushKind::Floor);
    });
    std::printf("palette of %lld good pictures: %.1f ms, peak +%ld KiB; with %zu crashers beside "
                "them: %.1f ms, peak +%ld KiB\n",
                static_cast<long long>(without.size()), plain.ms, plain.peakKiB, crashers.size(),
                mixed.ms, mixed.peakKiB);
    EXPECT_EQ(with, without);
    if (MemoryIsMeasurable) {
        EXPECT_LE(mixed.peakKiB, MemoryBoundKiB);
    }
}

TEST(HostilePictures, ListingThumbnailsAndLoadingAgreeOnEveryCorpusFile)
{
    InitGdip();
    CorpusDir dir;
    const std::vector<CorpusFile> corpus = WriteCorpus(dir.path(), CorpusOptions{});
    ASSERT_GE(corpus.size(), 2500u);
    PipeWatchdog watchdog(PipesOf(dir.path(), corpus));

    QStringList listing;
    const Cost listingCost = Measure([&] { listing = ListTileFiles(dir.path()); });
    const std::set<QString> listed(listing.begin(), listing.end());

    struct Tally {
        int files = 0, decoded = 0, refused = 0;
        std::map<int, int> statuses;
        double slowestMs = 0;
        long peakKiB = 0;
    };
    std::map<QString, Tally> tallies;
    std::vector<std::pair<double, QByteArray>> slowest;
    for (const CorpusFile& f : corpus) {
        SCOPED_TRACE(f.name.toStdString());
        const QString path = PathOf(dir.path(), f.name);
        const bool isListed = listed.count(path) != 0;
        QImage thumbnail;
        ImageHandle image = 0;
        int32_t status = -1;
        const Cost cost = Measure([&] {
            // The program reads thumbnails of listed files only; a pick can
            // name any path.
            if (isListed)
                thumbnail = MakeThumbnail(BrushKind::Floor, path, Qt::darkGray);
            status = GdipLoadImageFromFile(path, &image);
        });
        Tally& t = tallies[f.kind];
        ++t.files;
        ++(status == Ok ? t.decoded : t.refused);
        ++t.statuses[status];
        t.slowestMs = std::max(t.slowestMs, cost.ms);
        t.peakKiB = std::max(t.peakKiB, cost.peakKiB);
        slowest.emplace_back(cost.ms, f.name);
        if (MemoryIsMeasurable) {
            EXPECT_LE(cost.peakKiB, MemoryBoundKiB);
        }

        if (!f.name.toLower().endsWith(".png")) {
            EXPECT_FALSE(isListed);
        }
        switch (f.expect) {
        case Expect::Valid:
            EXPECT_TRUE(isListed);
            EXPECT_FALSE(thumbnail.isNull());
            ASSERT_EQ(status, Ok);
            EXPECT_LE(PixelDistance(ImageOf(image), f.expected), 2);
            EXPECT_EQ(thumbnail.size(), QSize(36, 36)); // its pixels: the palette tests
            break;
        case Expect::Bad:
            EXPECT_NE(status, Ok);
            EXPECT_TRUE(thumbnail.isNull());
            break;
        case Expect::Either:
            // A thumbnail shown is a picture the brush can take.
            if (isListed) {
                EXPECT_EQ(!thumbnail.isNull(), status == Ok);
            }
            break;
        }
        if (status != Ok) {
            EXPECT_EQ(image, 0u);
        }
    }
    EXPECT_EQ(watchdog.ReadersFound(), 0) << "something waited on a named pipe";

    std::printf("corpus: %zu entries, %lld listed, listing took %.1f ms\n", corpus.size(),
                static_cast<long long>(listing.size()), listingCost.ms);
    std::printf("%-11s %6s %8s %8s %10s %10s  statuses\n", "kind", "files", "decoded", "refused",
                "slowest ms", "peak KiB");
    for (const auto& [kind, t] : tallies) {
        QString statuses;
        for (const auto& [s, n] : t.statuses)
            statuses += QStringLiteral(" %1x%2").arg(n).arg(s);
        std::printf("%-11s %6d %8d %8d %10.2f %10ld %s\n", qPrintable(kind), t.files, t.decoded,
                    t.refused, t.slowestMs, t.peakKiB, qPrintable(statuses));
    }
    std::sort(slowest.rbegin(), slowest.rend());
    for (size_t i = 0; i < std::min<size_t>(5, slowest.size()); ++i)
        std::printf("slowest: %8.2f ms  %s\n", slowest[i].first, slowest[i].second.constData());
}

// Every corpus file's content as the picture behind a palette entry: a pick
// that fails says so and leaves the map and brush alone; one that succeeds
// paints and redraws exactly as the oracle does.
TEST_F(HostileWindow, EveryCorpusFileGoesThroughPickPaintAndRedraw)
{
    CorpusDir corpusDir;
    CorpusOptions options;
    const std::vector<CorpusFile> corpus = WriteCorpus(corpusDir.path(), options);
    PipeWatchdog watchdog(PipesOf(corpusDir.path(), corpus));

    // The whole corpus as one floor folder: the palette shows exactly the
    // pictures the loader takes.
    SetFolders(corpusDir.path());
    QElapsedTimer opening;
    opening.start();
    OpenPalette();
    const double firstRowsMs = static_cast<double>(opening.nsecsElapsed()) / 1e6;
    ASSERT_TRUE(testsupport::WaitUntilFilled(library->Model()));
    std::printf(
        "floor palette over the corpus folder: rows in view in %.1f ms, filled in %.1f ms\n",
        firstRowsMs, static_cast<double>(opening.nsecsElapsed()) / 1e6);
    const QStringList shown = ShownPaths();
    std::set<QString> loadable;
    for (const QString& path : ListTileFiles(corpusDir.path())) {
        ImageHandle image = 0;
        if (GdipLoadImageFromFile(path, &image) == Ok)
            loadable.insert(path);
    }
    EXPECT_EQ(std::set<QString>(shown.begin(), shown.end()), loadable);
    for (const CorpusFile& f : corpus)
        if (f.expect == Expect::Valid) {
            EXPECT_TRUE(loadable.count(PathOf(corpusDir.path(), f.name))) << f.name.constData();
        }
    ClosePalette();

    // One slot in a folder of its own, whose content changes under the open pane.
    UseSlotFolder();
    ZoomOutFully();
    int picked = 0, refused = 0, cell = 0;
    for (const CorpusFile& f : corpus) {
        SCOPED_TRACE(f.name.toStdString());
        const QString path = PathOf(corpusDir.path(), f.name);
        const QFileInfo info(path);
        const bool special = !info.isFile() || info.isSymLink();
        if (!f.name.toLower().endsWith(".png"))
            continue; // never listed, so never picked
        if (special && f.kind != QLatin1String("fifo") && f.kind != QLatin1String("folder") &&
            f.kind != QLatin1String("dangling"))
            continue;
        const PickResult r = special ? PickSpecial(f.kind) : PickContent(ReadAll(path));
        if (f.expect == Expect::Valid) {
            EXPECT_TRUE(r.picked);
        }
        if (f.expect == Expect::Bad) {
            EXPECT_FALSE(r.picked);
        }
        if (!r.picked) {
            ++refused;
            continue;
        }
        ++picked;
        PaintAndCheck(cell++ % 225);
        if (HasFatalFailure())
            return;
    }
    EXPECT_EQ(watchdog.ReadersFound(), 0) << "something waited on a named pipe";
    std::printf("picks through the window: %d painted and redrawn, %d refused with a message\n",
                picked, refused);
}

} // namespace
