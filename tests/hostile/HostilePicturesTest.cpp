// The hostile corpus through every door a picture passes: the listing, the
// thumbnail, the loader, and the main window's palette, pick, painting and
// redraw. The peak memory of each file is checked; its time is the
// benchmark's (bench/HostileBench.cpp).
#include "HostileCorpus.h"
#include "MapSnapshot.h"
#include "ProcessMemory.h"

#include "PaletteSupport.h"
#include "TestSupport.h"
#include "app/MapCanvas.h"
#include "app/frmMain.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"
#include "library/Thumbnail.h"
#include "library/TileLibraryPanel.h"
#include "library/TileListing.h"
#include "oracle/LiteralRenderer.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"

#include <QAction>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <set>
#include <thread>

using namespace halvorn;
using namespace hostile;

namespace {

constexpr long MemoryBoundKiB = 64 * 1024;

// Opens every named pipe of the corpus for writing, now and then, so a
// reader that waits on one is let go and counted, instead of hanging the test.
class PipeWatchdog {
public:
    PipeWatchdog(const QString& folder, const std::vector<CorpusFile>& files)
    {
        for (const CorpusFile& f : files)
            if (f.kind == QLatin1String("fifo"))
                pipes_.push_back(QFile::encodeName(PathOf(folder, f.name)));
        thread_ = std::thread([this] {
            while (!stop_) {
                for (const QByteArray& pipe : pipes_)
                    if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                        ++found_;
                        ::close(fd);
                    }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    ~PipeWatchdog()
    {
        stop_ = true;
        thread_.join();
        EXPECT_EQ(found_, 0) << "something waited on a named pipe";
    }

private:
    std::vector<QByteArray> pipes_;
    std::atomic<bool> stop_{false};
    std::atomic<int> found_{0};
    std::thread thread_;
};

// Every file through the listing, the thumbnail and the loader. The libpng
// crashers (a few dozen bytes declaring a gigabyte chunk) cost seconds and
// gigabytes in the decoder: they must be refused before it, within the
// memory bound every file keeps.
TEST(HostilePictures, EveryFileIsListedAndLoadedAlikeAndCrashersAreRefusedBeforeTheDecoder)
{
    InitGdip();
    CorpusDir dir;
    const std::vector<CorpusFile> corpus = WriteCorpus(dir.path(), CorpusOptions{});
    ASSERT_GE(corpus.size(), 2500u);
    PipeWatchdog watchdog(dir.path(), corpus);
    const QStringList listing = ListTileFiles(dir.path());
    const std::set<QString> listed(listing.begin(), listing.end());
    int crashers = 0;
    for (const CorpusFile& f : corpus) {
        SCOPED_TRACE(f.name.toStdString());
        const QString path = PathOf(dir.path(), f.name);
        const bool isListed = listed.count(path) != 0;
        QImage thumbnail;
        ImageHandle image = 0;
        ResetPeak();
        const long before = ResidentKiB();
        // The program reads thumbnails of listed files only; a pick can name
        // any path. A crasher's thumbnail is made anyway: it must cost nothing.
        const bool crasher = f.kind == QLatin1String("crasher");
        if (isListed || crasher)
            thumbnail = MakeThumbnail(BrushKind::Floor, path, Qt::darkGray);
        const int32_t status = GdipLoadImageFromFile(path, &image);
        EXPECT_LE(MemoryIsMeasurable ? PeakResidentKiB() - before : 0, MemoryBoundKiB);
        EXPECT_TRUE(f.name.toLower().endsWith(".png") || !isListed);
        if (crasher) {
            ++crashers;
            EXPECT_EQ(status, UnknownImageFormat);
        }
        if (f.expect == Expect::Valid) {
            EXPECT_TRUE(isListed);
            ASSERT_EQ(status, Ok);
            EXPECT_LE(oracle::MaxChannelDifference(ImageOf(image), f.expected), 2);
            EXPECT_EQ(thumbnail.size(), QSize(36, 36)); // its pixels: the palette tests
        } else if (f.expect == Expect::Bad) {
            EXPECT_NE(status, Ok);
            EXPECT_TRUE(thumbnail.isNull());
        } else if (isListed) {
            EXPECT_EQ(!thumbnail.isNull(), status == Ok); // a thumbnail shown is a usable picture
        }
        EXPECT_TRUE(status == Ok || image == 0u);
    }
    EXPECT_EQ(crashers, 8);
}

// Every corpus file's content as the picture behind a palette entry, in the
// real window: a pick that fails says so in one Error box and leaves the
// map, the brush and the pane alone; one that succeeds paints and redraws
// exactly as the oracle does. (That the palette shows only the pictures the
// loader takes is the palette model's test.)
TEST(HostileWindow, EveryCorpusFileGoesThroughPickPaintAndRedraw)
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(SettingsApplication))
        .clear();
    InitGdip();
    CorpusDir corpusDir, slotDir;
    const std::vector<CorpusFile> corpus = WriteCorpus(corpusDir.path(), CorpusOptions{});
    // One slot in a folder of its own, whose content changes under the open
    // pane; a folder, a pipe or a dangling link may take its place too.
    for (const char* key : {keys::LocationFloors, keys::LocationWalls, keys::LocationObjects})
        SaveSetting(QLatin1String(key), slotDir.path());
    frmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* library = window.findChild<TileLibraryPanel*>();
    const auto clickFloorBox = [&] {
        QTest::mouseClick(library->Box(BrushKind::Floor), Qt::LeftButton);
        EXPECT_TRUE(testsupport::WaitUntilFilled(library->Model()));
    };
    for (int i = 0; i < 3; ++i)
        window.findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    ASSERT_FLOAT_EQ(window.Zoom(), 0.25f);
    auto* canvas = window.findChild<MapCanvas*>(QStringLiteral("Canvas"));
    const Brush& brush = window.CurrentBrush();
    const QString slot = slotDir.filePath(QStringLiteral("slot.png"));
    const QByteArray raw = QFile::encodeName(slot);
    int cell = 0;
    for (const CorpusFile& f : corpus) {
        SCOPED_TRACE(f.name.toStdString());
        const QString path = PathOf(corpusDir.path(), f.name);
        const QFileInfo info(path);
        // The other entries that are no plain file (links, a name QFileInfo
        // cannot spell) are the listing's test.
        const bool special = !info.isFile() || info.isSymLink();
        const bool replaces = f.kind == QLatin1String("folder") ||
                              f.kind == QLatin1String("fifo") ||
                              f.kind == QLatin1String("dangling");
        if (!f.name.toLower().endsWith(".png") || (special && !replaces))
            continue;
        if (!library->IsOpen(BrushKind::Floor)) {
            ASSERT_TRUE(testsupport::Picture(30, 30, 7).save(slot, "PNG"));
            clickFloorBox();
            ASSERT_EQ(library->PathsOf(BrushKind::Floor), QStringList{slot});
        }
        ::unlink(raw.constData());
        if (f.kind == QLatin1String("folder"))
            ASSERT_EQ(::mkdir(raw.constData(), 0755), 0);
        else if (f.kind == QLatin1String("fifo"))
            ASSERT_EQ(::mkfifo(raw.constData(), 0644), 0);
        else if (special)
            ASSERT_EQ(::symlink("nowhere.png", raw.constData()), 0);
        else
            ASSERT_TRUE(testsupport::WriteBytes(slot, testsupport::ReadAll(path)));
        const auto before = std::tuple(MapSnapshot::Of(window.Map()), brush.FloorImage,
                                       brush.Paths[BrushKind::Floor]);
        const auto boxes = testsupport::AnswerBoxes(
            [&] {
                QTest::mouseClick(library->Pane(BrushKind::Floor)->Canvas(), Qt::LeftButton, {},
                                  QPoint(19, 19));
            },
            QMessageBox::Ok);
        ::rmdir(raw.constData());
        const bool picked = boxes.empty();
        if (f.expect != Expect::Either) {
            EXPECT_EQ(picked, f.expect == Expect::Valid);
        }
        if (!picked) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].title, QStringLiteral("Error"));
            EXPECT_TRUE(boxes[0].text.startsWith(
                            QStringLiteral("The picture \"%1\" cannot be loaded.\n\n").arg(slot)) &&
                        boxes[0].text.contains(QLatin1String(": Status = ")))
                << boxes[0].text.toStdString();
            EXPECT_TRUE(std::tuple(MapSnapshot::Of(window.Map()), brush.FloorImage,
                                   brush.Paths[BrushKind::Floor]) == before);
            EXPECT_TRUE(library->IsOpen(BrushKind::Floor));
            continue;
        }
        EXPECT_NE(brush.FloorImage, std::get<1>(before));
        EXPECT_EQ(brush.Paths[BrushKind::Floor], slot);
        EXPECT_FALSE(library->IsOpen(BrushKind::Floor));
        // Painted into the next floor cell, the picture is the oracle's.
        const int x = cell % 15, y = cell++ / 15 % 15;
        const QPointF at((x + 0.5) * 18, (y + 0.5) * 18);
        testsupport::SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        testsupport::SendMouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                               at);
        testsupport::SendMouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                               at);
        ASSERT_EQ(window.Map().FloorAt(x, y), brush.FloorImage);
        QImage expected(canvas->Picture().size(), QImage::Format_RGB32);
        oracle::LiteralRedraw(expected, window.Map(), window.Layers(), window.Zoom(),
                              CurrentShadowParams(), window.LastRedrawShadows());
        ASSERT_LE(oracle::MaxChannelDifference(canvas->Picture(), expected), 1);
    }
}

} // namespace
