// The brush: previews drawn pixel by pixel, and the failure that must leave
// it untouched. Its mode texts are announced in
// tests/library/TileLibraryPanelTest.cpp; its sizes, turns, colours and
// footprints are shown in tests/app/EditingTest.cpp and tests/app/DesktopTest.cpp.
#include "QStringPrint.h"
#include "TestSupport.h"

#include "imaging/AppError.h"
#include "imaging/Imaging.h"
#include "library/Brush.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace halvorn;
using testsupport::WritePng;

namespace {

const QColor Face(240, 240, 240);

class BrushTest : public ::testing::Test {
protected:
    void SetUp() override { InitGdip(); }
    QString Png(const QString& name, int w, int h, QColor c)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WritePng(path, w, h, c));
        return path;
    }
    QTemporaryDir dir;
    Brush brush{Face};
};

} // namespace

TEST_F(BrushTest, FloorStretchedOverThePreviousOneAndWallTiled)
{
    EXPECT_EQ(brush.Preview(BrushKind::Floor).pixelColor(5, 5).alpha(), 0);
    brush.Select(BrushKind::Floor, Png(QStringLiteral("red.png"), 10, 10, Qt::red));
    EXPECT_EQ(brush.Preview(BrushKind::Floor).pixelColor(71, 71), QColor(Qt::red));
    // Transparent in its left half: the red floor shows through there.
    QImage half = testsupport::SolidImage(10, 10, Qt::blue);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 5; ++x)
            half.setPixelColor(x, y, Qt::transparent);
    ASSERT_TRUE(half.save(dir.filePath(QStringLiteral("half.png"))));
    brush.Select(BrushKind::Floor, dir.filePath(QStringLiteral("half.png")));
    EXPECT_EQ(brush.Preview(BrushKind::Floor).pixelColor(10, 30), QColor(Qt::red));
    EXPECT_EQ(brush.Preview(BrushKind::Floor).pixelColor(60, 30), QColor(Qt::blue));
    EXPECT_EQ(brush.Paths[BrushKind::Floor], dir.filePath(QStringLiteral("half.png")));

    QImage piece = testsupport::SolidImage(18, 18, Qt::green);
    piece.setPixelColor(0, 0, Qt::black);
    ASSERT_TRUE(piece.save(dir.filePath(QStringLiteral("piece.png"))));
    brush.Select(BrushKind::Wall, dir.filePath(QStringLiteral("piece.png")));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(brush.Preview(BrushKind::Wall).pixelColor(i * 18, 54), QColor(Qt::black));
        EXPECT_EQ(brush.Preview(BrushKind::Wall).pixelColor(i * 18 + 1, 54), QColor(Qt::green));
    }
}

TEST_F(BrushTest, ObjectPreviewCentredAndLimited)
{
    // clang-format off
    const struct { QSize picture; Orientation orientation; QRect drawn; } rows[] = {
        {{100, 40}, 1, {62, 12, 40, 100}}, {{300, 50}, 0, {0, 37, 164, 50}}, {{10, 10}, 0, {77, 57, 10, 10}},
    };
    // clang-format on
    for (const auto& r : rows) {
        brush.Select(BrushKind::Object,
                     Png(QStringLiteral("o.png"), r.picture.width(), r.picture.height(), Qt::blue),
                     r.orientation);
        const QImage& p = brush.Preview(BrushKind::Object);
        const QRect d = r.drawn;
        EXPECT_EQ(p.pixelColor(d.topLeft()), QColor(Qt::blue)) << r.picture.width();
        EXPECT_EQ(p.pixelColor(d.bottomRight()), QColor(Qt::blue)) << r.picture.width();
        if (d.left() > 0) {
            EXPECT_EQ(p.pixelColor(d.left() - 1, d.top()), Face);
        }
        EXPECT_EQ(p.pixelColor(d.right() + 1 < 164 ? d.right() + 1 : 0, d.top() - 1), Face);
        EXPECT_EQ(p.pixelColor(d.left(), d.bottom() + 1), Face);
    }
    EXPECT_EQ(brush.Footprint(0.5f), std::nullopt); // no mode yet
    brush.SetMode(BrushKind::Object);
    EXPECT_EQ(brush.Footprint(0.5f), QSizeF(5, 5));
    EXPECT_EQ(brush.CursorColor(), QColor(0, 0, 255));
}

TEST_F(BrushTest, FailedLoadChangesNothing)
{
    brush.Select(BrushKind::Floor, Png(QStringLiteral("stone1.png"), 8, 8, Qt::red));
    brush.Select(BrushKind::Object, Png(QStringLiteral("chest.png"), 20, 10, Qt::blue), 3);
    brush.SetMode(BrushKind::Floor);
    const Brush before = brush;
    const QString text = dir.filePath(QStringLiteral("bad.png"));
    ASSERT_TRUE(testsupport::WriteBytes(text, "not a picture"));

    EXPECT_THROW(brush.Select(BrushKind::Floor, dir.filePath(QStringLiteral("gone.png"))),
                 AppError);
    EXPECT_THROW(brush.Select(BrushKind::Wall, text), AppError);
    EXPECT_THROW(brush.Select(BrushKind::Object, text, 0), AppError);
    EXPECT_EQ(brush.Paths[BrushKind::Floor], before.Paths[BrushKind::Floor]);
    EXPECT_EQ(brush.Preview(BrushKind::Floor), before.Preview(BrushKind::Floor));
    EXPECT_TRUE(brush.Paths[BrushKind::Wall].isEmpty());
    EXPECT_EQ(brush.WallImage, 0u);
    EXPECT_EQ(brush.ObjectOrientation, 3);
    EXPECT_EQ(brush.Preview(BrushKind::Object), before.Preview(BrushKind::Object));
    EXPECT_EQ(brush.StatusText(), QStringLiteral("Mode = Tile (stone1)"));
}
