// Listing order, palette geometry and the painted thumbnails.
#include "QStringPrint.h"
#include "TestSupport.h"

#include "PaletteSupport.h"
#include "imaging/Imaging.h"
#include "library/FolderCalls.h"
#include "library/PaletteLayout.h"
#include "library/PaletteModel.h"
#include "library/TileListing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

using namespace halvorn;
using testsupport::WritePng;

namespace {

const QColor Shadow(160, 160, 160);
using testsupport::WriteBytes;

QStringList Names(const QStringList& paths)
{
    QStringList names;
    for (const QString& p : paths)
        names.push_back(p.mid(p.lastIndexOf(QLatin1Char('/')) + 1));
    return names;
}

} // namespace

// Odd names, links and special files: HostilePictures.EveryFileIsListed...
TEST(TileListing, NaturalCaseInsensitiveOrderOfPngFilesOnly)
{
    QTemporaryDir dir;
    for (const char* name :
         {"tile10.png", "Tile2.PNG", "tile1.png", "b.Png", "a.jpg", "notes.txt", ".hidden.png"})
        ASSERT_TRUE(WritePng(dir.filePath(QLatin1String(name)), 2, 2, Qt::red));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.png")));
    const QStringList paths = ListTileFiles(dir.path());
    EXPECT_EQ(Names(paths),
              QStringList({QStringLiteral("b.Png"), QStringLiteral("tile1.png"),
                           QStringLiteral("Tile2.PNG"), QStringLiteral("tile10.png")}));
    // A folder setting ending in "/" is used as it is.
    EXPECT_EQ(ListTileFiles(dir.path() + QStringLiteral("/")).first(),
              dir.path() + QStringLiteral("//b.Png"));
    EXPECT_TRUE(ListTileFiles(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

// Scroll steps, the cell under a point and where an object's thumbnail is
// drawn. Canvas heights (past the 16 bits of the widgets of old) show in the
// scroll bars of PaletteFillTest.TenThousand...
TEST(PaletteLayout, StepsCellsAndThumbnailPlaces)
{
    constexpr auto Floor = BrushKind::Floor, Wall = BrushKind::Wall, Object = BrushKind::Object;
    // clang-format off
    const std::optional<int> none;
    const struct { const char* name; int height; int max; std::optional<int> large, small; } steps[] = {
        {"30 floors", 230, 38, 8, 2}, {"25 floors", 192, 0, none, none}, {"empty", 2, 0, none, none},
        {"steps rounding to 0 become 1", 194, 2, 1, 1}, {"0.5 rounds to even, then up to 1", 202, 10, 2, 1}, {"2.5 rounds to even", 242, 50, 10, 2},
    };
    const struct { BrushKind kind; float x, y; int index; } cells[] = {
        {Floor, 40, 80, 11}, {Floor, 37.5f, 0, 1}, {Floor, 36.5f, 0, 0}, {Floor, 200, 0, 5}, {Wall, 179, 19, 8},
        {Wall, 0, 20, 9}, {Object, 0, 38, 5}, {Floor, 5, 75960, 9990}, {Wall, 170, 40000, 18008},
    };
    const struct { BrushKind kind; QSize picture; int index; QRect drawn; } places[] = {
        {Object, {20, 50}, 0, {8, 1, 20, 36}}, {Object, {36, 10}, 0, {1, 13, 36, 10}}, {Object, {35, 35}, 0, {0, 0, 35, 35}},
        {Object, {80, 60}, 6, {39, 39, 36, 36}}, {Wall, {5, 5}, 10, {21, 21, 18, 18}},
    };
    // clang-format on
    for (const auto& r : steps) {
        SCOPED_TRACE(r.name);
        const ScrollSteps s = PaletteScrollSteps(r.height);
        EXPECT_EQ(s.maximum, r.max);
        EXPECT_EQ(s.largeStep, r.large);
        EXPECT_EQ(s.smallStep, r.small);
    }
    for (const auto& r : cells)
        EXPECT_EQ(PaletteGrid::Of(r.kind).CellAt(r.x, r.y), r.index) << r.x << "," << r.y;
    for (const auto& r : places)
        EXPECT_EQ(ThumbnailRect(r.kind, r.index, r.picture), r.drawn) << r.picture.width();
}

TEST(PaletteModel, BadFilesAreSkippedAndTakeNoCell)
{
    InitGdip();
    QTemporaryDir dir;
    ASSERT_TRUE(WritePng(dir.filePath(QStringLiteral("a1.png")), 36, 36, Qt::red));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("a2.png")), {}));
    ASSERT_TRUE(WriteBytes(dir.filePath(QStringLiteral("a3.png")), "just some notes"));
    ASSERT_TRUE(WritePng(dir.filePath(QStringLiteral("full.png")), 40, 40, Qt::green));
    ASSERT_TRUE(
        WriteBytes(dir.filePath(QStringLiteral("a4.png")),
                   testsupport::ReadAll(dir.filePath(QStringLiteral("full.png"))).left(60)));
    // Declares 5000 × 5000, over the decode limit, without the pixels to back it.
    QImage big(5000, 5000, QImage::Format_Mono);
    big.fill(0);
    ASSERT_TRUE(big.save(dir.filePath(QStringLiteral("a5.png"))));
    ASSERT_TRUE(WritePng(dir.filePath(QStringLiteral("a6.png")), 10, 10, Qt::blue));
    ASSERT_TRUE(WritePng(dir.filePath(QStringLiteral("a7.png")), 10, 10, Qt::blue));
    QFile::setPermissions(dir.filePath(QStringLiteral("a7.png")), QFileDevice::WriteOwner);
    const bool permissionsHold =
        !QFile(dir.filePath(QStringLiteral("a7.png"))).open(QIODevice::ReadOnly);

    PaletteModel palette(nullptr);
    ASSERT_TRUE(testsupport::FillPalette(palette, BrushKind::Floor, dir.path(), Shadow));
    QStringList expected{QStringLiteral("a1.png"), QStringLiteral("a6.png"),
                         QStringLiteral("a7.png"), QStringLiteral("full.png")};
    if (permissionsHold) // running as root reads everything
        expected.removeAll(QStringLiteral("a7.png"));
    EXPECT_EQ(Names(palette.PathsOf(BrushKind::Floor)), expected);
    ASSERT_EQ(palette.Count(), expected.size());
    // The good picture after the bad ones takes the second cell.
    EXPECT_EQ(palette.Thumbnail(1).pixelColor(18, 18), QColor(Qt::blue));

    // Every folder call failing in turn (the n-th of a run): the palette is
    // the same less what the failure hid, never a crash or a hang.
    struct Failed {
        std::mutex mutex;
        int calls = 0;
        foldercalls::Call call{};
        QString path;
    } failed;
    constexpr int limit = 200;
    int n = 1;
    for (; n < limit; ++n) {
        SCOPED_TRACE(n);
        failed.calls = 0;
        failed.path.clear();
        foldercalls::SetHook([&](foldercalls::Call call, const QString& path) {
            const std::lock_guard lock(failed.mutex);
            if (++failed.calls != n)
                return 0;
            failed.call = call;
            failed.path = path;
            return EIO;
        });
        PaletteModel model(nullptr);
        ASSERT_TRUE(testsupport::FillPalette(model, BrushKind::Floor, dir.path(), Shadow));
        foldercalls::SetHook({});
        const std::lock_guard lock(failed.mutex);
        const QStringList shown = Names(model.PathsOf(BrushKind::Floor));
        if (failed.calls < n) { // no call failed: the whole palette
            EXPECT_EQ(shown, expected);
            break;
        }
        QStringList left = expected;
        switch (failed.call) {
        case foldercalls::Call::OpenFolder:
            left.clear();
            break;
        case foldercalls::Call::ReadFolder:
            // The entries read before the failure, in their order.
            left.erase(std::remove_if(left.begin(), left.end(),
                                      [&](const QString& name) { return !shown.contains(name); }),
                       left.end());
            break;
        case foldercalls::Call::Examine:
        case foldercalls::Call::ReadPicture:
            left.removeAll(QFileInfo(failed.path).fileName());
            break;
        }
        EXPECT_EQ(shown, left);
        ASSERT_EQ(model.Count(), left.size());
        for (int i = 0; i < model.Count(); ++i)
            EXPECT_FALSE(model.Thumbnail(i).isNull()) << i;
    }
    EXPECT_LT(n, limit);
    EXPECT_GT(n, 20); // the opening, the entries, each file examined and read
}
