// The brush: mode texts and colours, previews drawn pixel by pixel, and the
// failure that must leave it untouched.
#include "QStringPrint.h"
#include "TestSupport.h"

#include "library/Brush.h"
#include "render/AppError.h"
#include "render/Imaging.h"

#include <QFile>
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

TEST_F(BrushTest, ModeTextsAndColours)
{
    EXPECT_EQ(brush.FloorPreview().pixelColor(5, 5), Face);
    brush.FloorPath = "/f/stone1.png";
    brush.WallPath = "/w/brick.png";
    const struct { QString mode; QString text; QColor colour; } rows[] = {
        {"Tile", "Mode = Tile (stone1)", QColor(255, 0, 0)},
        {"Object", "Mode = Object", QColor(0, 0, 255)}, // no object chosen yet
        {"Wall", "Mode = Wall (brick)", QColor(0, 255, 0)},
        {"Select", "Mode = Select", QColor(0, 255, 0)}, // colour kept
        {"tile", "Mode = tile", QColor(0, 255, 0)},     // case-sensitive
    };
    for (const auto& r : rows) {
        brush.SetMode(r.mode);
        EXPECT_EQ(brush.Mode, r.mode);
        EXPECT_EQ(brush.StatusText(), r.text);
        EXPECT_EQ(brush.CursorColor(), r.colour) << r.mode.toStdString();
    }
}

TEST_F(BrushTest, FloorPreviewStretchesWithoutClearing)
{
    brush.SelectFloorTile(Png("red.png", 10, 10, Qt::red));
    EXPECT_EQ(brush.FloorPreview().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(brush.FloorPreview().pixelColor(71, 71), QColor(Qt::red));
    // Transparent in its left half: the red floor shows through there.
    QImage half(10, 10, QImage::Format_ARGB32);
    half.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            half.setPixelColor(x, y, Qt::blue);
    ASSERT_TRUE(half.save(dir.filePath("half.png")));
    brush.SelectFloorTile(dir.filePath("half.png"));
    EXPECT_EQ(brush.FloorPreview().pixelColor(10, 30), QColor(Qt::red));
    EXPECT_EQ(brush.FloorPreview().pixelColor(60, 30), QColor(Qt::blue));
    EXPECT_EQ(brush.FloorPath, dir.filePath("half.png"));
    EXPECT_NE(brush.FloorImage, 0u);
}

TEST_F(BrushTest, WallPreviewIsTiled)
{
    QImage piece(18, 18, QImage::Format_ARGB32);
    piece.fill(Qt::green);
    piece.setPixelColor(0, 0, Qt::black);
    ASSERT_TRUE(piece.save(dir.filePath("piece.png")));
    brush.SelectWallPiece(dir.filePath("piece.png"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(brush.WallPreview().pixelColor(i * 18, 54), QColor(Qt::black));
        EXPECT_EQ(brush.WallPreview().pixelColor(i * 18 + 1, 54), QColor(Qt::green));
    }
    EXPECT_EQ(brush.WallPath, dir.filePath("piece.png"));
}

TEST_F(BrushTest, ObjectPreviewCentredAndLimited)
{
    const struct { QSize picture; Orientation orientation; QRect drawn; int16_t w, h; } rows[] = {
        {{100, 40}, 1, {62, 12, 40, 100}, 40, 100},
        {{300, 50}, 0, {0, 37, 164, 50}, 300, 50},
        {{10, 10}, 0, {77, 57, 10, 10}, 10, 10},
    };
    for (const auto& r : rows) {
        brush.SelectObjectImage(Png("o.png", r.picture.width(), r.picture.height(), Qt::blue),
                                r.orientation);
        const QImage& p = brush.ObjectPreview();
        const QRect d = r.drawn;
        EXPECT_EQ(p.pixelColor(d.topLeft()), QColor(Qt::blue)) << r.picture.width();
        EXPECT_EQ(p.pixelColor(d.bottomRight()), QColor(Qt::blue)) << r.picture.width();
        if (d.left() > 0) {
            EXPECT_EQ(p.pixelColor(d.left() - 1, d.top()), Face);
        }
        EXPECT_EQ(p.pixelColor(d.right() + 1 < 164 ? d.right() + 1 : 0, d.top() - 1), Face);
        EXPECT_EQ(p.pixelColor(d.left(), d.bottom() + 1), Face);
        EXPECT_EQ(brush.ObjectWidth, r.w);
        EXPECT_EQ(brush.ObjectHeight, r.h);
        EXPECT_EQ(brush.ObjectOrientation, r.orientation);
    }
}

TEST_F(BrushTest, FootprintPerMode)
{
    brush.SetMode("Object");
    EXPECT_FALSE(brush.Footprint(2).has_value()); // no object picture yet
    brush.SelectObjectImage(Png("o.png", 100, 40, Qt::blue), 1);
    EXPECT_EQ(brush.Footprint(0.5f), QSizeF(20, 50));
    brush.SetMode("Tile");
    EXPECT_EQ(brush.Footprint(2), QSizeF(144, 144));
    brush.SetMode("Wall");
    EXPECT_EQ(brush.Footprint(1.5f), QSizeF(27, 27));
    brush.SetMode("Select");
    EXPECT_FALSE(brush.Footprint(1).has_value());
}

TEST_F(BrushTest, FailedLoadChangesNothing)
{
    const QString floor = Png("stone1.png", 8, 8, Qt::red);
    brush.SelectFloorTile(floor);
    brush.SelectObjectImage(Png("chest.png", 20, 10, Qt::blue), 3);
    brush.SetMode("Tile");
    const Brush before = brush;
    const QString bad = dir.filePath("bad.png");
    QFile text(bad);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();

    EXPECT_THROW(brush.SelectFloorTile(dir.filePath("gone.png")), AppError);
    EXPECT_THROW(brush.SelectWallPiece(bad), AppError);
    try {
        brush.SelectObjectImage(bad, 0);
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Description(), "Unknown Image Format: Status = 13");
    }
    EXPECT_EQ(brush.FloorPath, before.FloorPath);
    EXPECT_EQ(brush.FloorImage, before.FloorImage);
    EXPECT_EQ(brush.FloorPreview(), before.FloorPreview());
    EXPECT_TRUE(brush.WallPath.isEmpty());
    EXPECT_EQ(brush.WallImage, 0u);
    EXPECT_EQ(brush.ObjectOrientation, 3);
    EXPECT_EQ(brush.ObjectWidth, 10);
    EXPECT_EQ(brush.ObjectPreview(), before.ObjectPreview());
    EXPECT_EQ(brush.StatusText(), "Mode = Tile (stone1)");
}
