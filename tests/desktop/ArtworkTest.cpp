#include "desktop/MapDocumentIcon.h"
#include "desktop/ProductArtwork.h"
#include "desktop/ProgramIcon.h"

#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>

namespace halvorn {
namespace {

TEST(ProductArtwork, FillsRequestedSizeWithAPicture)
{
    for (const QSize size : {QSize(480, 320), QSize(200, 400), QSize(900, 120)}) {
        SCOPED_TRACE(size.width());
        const QImage art = ProductArtwork(size);
        ASSERT_EQ(art.size(), size);
        QSet<QRgb> colours;
        for (int y = 0; y < art.height(); y += 3)
            for (int x = 0; x < art.width(); x += 3)
                colours.insert(art.pixel(x, y));
        EXPECT_GT(colours.size(), 200); // a picture, not a flat fill
    }
    EXPECT_TRUE(ProductArtwork(QSize(1, 1)).size() == QSize(1, 1));
    EXPECT_TRUE(ProductArtwork(QSize(0, 320)).isNull());
    EXPECT_TRUE(ProductArtwork(QSize(-5, -5)).isNull());
    // The same picture every time: nothing random or time dependent.
    EXPECT_EQ(ProductArtwork(), ProductArtwork());
}

// The document icon is a sheet with a folded corner, the program's a rounded
// tile; both on a transparent ground at every size the themes use, the
// program's also in the window's icon. (The shipped hvm.png is compared with
// the painted one by the install test.)
TEST(Icons, OpaqueShapeOnTransparentGroundAtEveryThemeSize)
{
    for (const int size : ProgramIconSizes) {
        SCOPED_TRACE(size);
        const QImage doc = MapDocumentIcon(size);
        ASSERT_EQ(doc.size(), QSize(size, size));
        EXPECT_TRUE(doc.hasAlphaChannel());
        EXPECT_EQ(qAlpha(doc.pixel(0, 0)), 0);        // left of the sheet
        EXPECT_EQ(qAlpha(doc.pixel(size - 1, 0)), 0); // cut away by the fold
        EXPECT_EQ(qAlpha(doc.pixel(size / 2, size / 2)), 255);
        const QImage icon = ProgramIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0);           // outside the rounded tile
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 8)), 255); // stone above the sheet
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
    EXPECT_TRUE(MapDocumentIcon(0).isNull());
    EXPECT_TRUE(ProgramIcon(0).isNull());
    // The window's icon carries the program's at every size up to 128.
    const QIcon window = ProgramWindowIcon();
    QList<QSize> sizes = window.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    EXPECT_EQ(window.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
              ProgramIcon(32));
}

} // namespace
} // namespace halvorn
