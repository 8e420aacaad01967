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
#include <memory>
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

// The real main window with its folders pointed where the test wants, and
// the steps of picking, painting and checking the picture.
class HostileWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(SettingsApplication))
            .clear();
        InitGdip();
        window = std::make_unique<frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        library = window->findChild<TileLibraryPanel*>();
    }

    static void SetFolders(const QString& folder)
    {
        for (const char* key : {keys::LocationFloors, keys::LocationWalls, keys::LocationObjects})
            SaveSetting(QLatin1String(key), folder);
    }
    bool PaletteOpen() const { return library->IsOpen(BrushKind::Floor); }
    // Opens or closes the pane; an opening waits for every thumbnail.
    void ClickFloorBox()
    {
        QTest::mouseClick(library->Box(BrushKind::Floor), Qt::LeftButton);
        EXPECT_TRUE(testsupport::WaitUntilFilled(library->Model()));
    }
    QStringList ShownPaths() const { return library->PathsOf(BrushKind::Floor); }

    // Opens the pane over a good slot picture, lets `change` replace what is
    // behind the entry, and picks it: true when the brush took it. A refused
    // pick shows one Error box and leaves the map, the brush and the pane.
    bool Pick(const std::function<bool()>& change)
    {
        if (!PaletteOpen()) {
            EXPECT_TRUE(testsupport::Picture(30, 30, 7).save(slot, "PNG"));
            ClickFloorBox();
            EXPECT_EQ(ShownPaths(), QStringList{slot});
        }
        EXPECT_TRUE(change());
        const MapSnapshot before = MapSnapshot::Of(window->Map());
        const Brush& brush = window->CurrentBrush();
        const ImageHandle oldImage = brush.FloorImage;
        const QString oldPath = brush.Paths[BrushKind::Floor];
        const auto boxes = testsupport::AnswerBoxes(
            [&] {
                QTest::mouseClick(library->Pane(BrushKind::Floor)->Canvas(), Qt::LeftButton, {},
                                  QPoint(19, 19));
            },
            QMessageBox::Ok);
        if (boxes.empty()) {
            EXPECT_NE(brush.FloorImage, oldImage);
            EXPECT_EQ(brush.Paths[BrushKind::Floor], slot);
            EXPECT_FALSE(PaletteOpen());
            return true;
        }
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Error"));
        const QString text = boxes[0].text;
        EXPECT_TRUE(
            text.startsWith(QStringLiteral("The picture \"%1\" cannot be loaded.\n\n").arg(slot)))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(": Status = "))) << text.toStdString();
        EXPECT_TRUE(MapSnapshot::Of(window->Map()) == before);
        EXPECT_EQ(brush.FloorImage, oldImage);
        EXPECT_EQ(brush.Paths[BrushKind::Floor], oldPath);
        EXPECT_TRUE(PaletteOpen());
        return false;
    }

    // Paints floor cell `index` (row by row) with the brush and compares the
    // canvas with the oracle's picture of the map.
    void PaintAndCheck(int index)
    {
        auto* canvas = window->findChild<MapCanvas*>(QStringLiteral("Canvas"));
        const float cell = 72 * window->Zoom();
        const QPointF at((index % 15 + 0.5) * cell, (index / 15 + 0.5) * cell);
        testsupport::SendMouse(canvas, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
        testsupport::SendMouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                               at);
        testsupport::SendMouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                               at);
        ASSERT_EQ(window->Map().FloorAt(index % 15, index / 15), window->CurrentBrush().FloorImage);
        QImage expected(canvas->Picture().size(), QImage::Format_RGB32);
        oracle::LiteralRedraw(expected, window->Map(), window->Layers(), window->Zoom(),
                              CurrentShadowParams(), window->LastRedrawShadows());
        ASSERT_LE(oracle::MaxChannelDifference(canvas->Picture(), expected), 1);
    }

    std::unique_ptr<frmMain> window; // made after the settings are cleared
    TileLibraryPanel* library = nullptr;
    CorpusDir slotDir;
    QString slot = slotDir.filePath(QStringLiteral("slot.png"));
};

// Every corpus file's content as the picture behind a palette entry: a pick
// that fails says so and leaves the map and brush alone; one that succeeds
// paints and redraws exactly as the oracle does.
TEST_F(HostileWindow, EveryCorpusFileGoesThroughPickPaintAndRedraw)
{
    CorpusDir corpusDir;
    const std::vector<CorpusFile> corpus = WriteCorpus(corpusDir.path(), CorpusOptions{});
    PipeWatchdog watchdog(corpusDir.path(), corpus);

    // The whole corpus as one floor folder: the palette shows exactly the
    // pictures the loader takes (the valid ones among them: the test above).
    SetFolders(corpusDir.path());
    ClickFloorBox();
    const QStringList shown = ShownPaths();
    std::set<QString> loadable;
    for (const QString& path : ListTileFiles(corpusDir.path())) {
        ImageHandle image = 0;
        if (GdipLoadImageFromFile(path, &image) == Ok)
            loadable.insert(path);
    }
    EXPECT_EQ(std::set<QString>(shown.begin(), shown.end()), loadable);
    ClickFloorBox();

    // One slot in a folder of its own, whose content changes under the open
    // pane; a folder, a pipe or a dangling link may take its place too.
    SetFolders(slotDir.path());
    for (int i = 0; i < 3; ++i)
        window->findChild<QAction*>(QStringLiteral("mnuZoomOut"))->trigger();
    ASSERT_FLOAT_EQ(window->Zoom(), 0.25f);
    const QByteArray raw = QFile::encodeName(slot);
    int cell = 0;
    for (const CorpusFile& f : corpus) {
        SCOPED_TRACE(f.name.toStdString());
        const QString path = PathOf(corpusDir.path(), f.name);
        const QFileInfo info(path);
        // Entries that are no plain file: a folder, a pipe or a dangling link
        // takes the slot's place; the others (links, a name QFileInfo cannot
        // spell) are the listing's test.
        const bool special = !info.isFile() || info.isSymLink();
        const bool replaces = f.kind == QLatin1String("folder") ||
                              f.kind == QLatin1String("fifo") ||
                              f.kind == QLatin1String("dangling");
        if (!f.name.toLower().endsWith(".png") || (special && !replaces))
            continue;
        const bool picked = Pick([&] {
            if (!special) {
                QFile out(slot);
                const QByteArray bytes = testsupport::ReadAll(path);
                return out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       out.write(bytes) == bytes.size();
            }
            QFile::remove(slot);
            if (f.kind == QLatin1String("folder"))
                return ::mkdir(raw.constData(), 0755) == 0;
            if (f.kind == QLatin1String("fifo"))
                return ::mkfifo(raw.constData(), 0644) == 0;
            return ::symlink("nowhere.png", raw.constData()) == 0;
        });
        if (special) {
            ::rmdir(raw.constData());
            ::unlink(raw.constData());
        }
        if (f.expect != Expect::Either) {
            EXPECT_EQ(picked, f.expect == Expect::Valid);
        }
        if (picked)
            PaintAndCheck(cell++ % 225);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
