// Checks on the bundled tile set as the editor will see it: enough pictures in
// each folder, exact sizes, opacity where the grid needs it, transparency
// around objects, readable names, seamless repeats and byte-stable output.
#include "Tileset.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using tileset::Tile;

// Mean colour difference between two pixel columns (or rows).
double lineDifference(const QImage& img, int a, int b, bool columns)
{
    const int n = columns ? img.height() : img.width();
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const QRgb p = columns ? img.pixel(a, i) : img.pixel(i, a);
        const QRgb q = columns ? img.pixel(b, i) : img.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
               std::abs(qBlue(p) - qBlue(q));
    }
    return sum / n;
}

// Floors and walls: of their exact size, opaque, repeating without seams
// (where a picture meets its own copy the step must look like any other step
// between neighbouring pixels inside it; a seam is several times larger).
// Objects: 36 to 144 pixels a side, clear corners, a covered centre. Every
// name short, lowercase and hyphenated, none twice; drawing is repeatable.
TEST(Tileset, FoldersHoldWellFormedPictures)
{
    // clang-format off
    const struct { const char* folder; std::vector<Tile> (*draw)(); std::size_t atLeast; QSize size; } cases[] = {
        {"Floors", tileset::drawFloors, 16, {72, 72}}, {"Walls", tileset::drawWalls, 8, {18, 18}}, {"Objects", tileset::drawObjects, 24, {}},
    };
    // clang-format on
    const QRegularExpression shape(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
    for (const auto& c : cases) {
        const std::vector<Tile> tiles = c.draw(), again = c.draw();
        EXPECT_GE(tiles.size(), c.atLeast) << c.folder;
        ASSERT_EQ(again.size(), tiles.size());
        QSet<QString> names;
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const QImage& img = tiles[i].image;
            SCOPED_TRACE(std::string(c.folder) + "/" + tiles[i].name.toStdString());
            EXPECT_EQ(again[i].image, img);
            EXPECT_TRUE(shape.match(tiles[i].name).hasMatch());
            EXPECT_FALSE(names.contains(tiles[i].name)) << "twice";
            names.insert(tiles[i].name);
            int clear = 0, centre = 0, covered = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    clear += qAlpha(img.pixel(x, y)) != 255;
                    const bool inCentre = x >= img.width() / 4 && x < img.width() * 3 / 4 &&
                                          y >= img.height() / 4 && y < img.height() * 3 / 4;
                    centre += inCentre;
                    covered += inCentre && qAlpha(img.pixel(x, y)) > 0;
                }
            if (c.size.isValid()) {
                EXPECT_EQ(img.size(), c.size);
                EXPECT_EQ(clear, 0);
                if (tiles[i].name == QLatin1String("iron"))
                    continue; // riveted plates: each piece shows its own border on purpose
                for (bool columns : {true, false}) {
                    const int last = (columns ? img.width() : img.height()) - 1;
                    double inside = 0;
                    for (int k = 0; k < last; ++k)
                        inside += lineDifference(img, k, k + 1, columns) / last;
                    EXPECT_LE(lineDifference(img, last, 0, columns), 3.0 * inside + 6.0)
                        << (columns ? "left/right" : "top/bottom");
                }
                continue;
            }
            EXPECT_TRUE(img.hasAlphaChannel());
            for (int side : {img.width(), img.height()}) {
                EXPECT_GE(side, 36);
                EXPECT_LE(side, 144);
            }
            EXPECT_LE(img.width() * img.height(), 144 * 72);
            for (QPoint corner :
                 {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(0, img.height() - 1),
                  QPoint(img.width() - 1, img.height() - 1)})
                EXPECT_EQ(qAlpha(img.pixel(corner)), 0);
            EXPECT_GT(double(covered) / centre, 0.5);
        }
    }
}

TEST(Tileset, WritesFoldersAndReplacesStaleFiles)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("Floors")));
    const QString stale = root.filePath(QStringLiteral("Floors/old-name.png"));
    const QString keep = root.filePath(QStringLiteral("Floors/notes.txt"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(stale));
    QFile notes(keep);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    ASSERT_EQ(tileset::writeTileset(dir.path(), true), QString());
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(keep));
    // clang-format off
    const std::pair<const char*, std::size_t> folders[] = {{"Floors", tileset::drawFloors().size()}, {"Walls", tileset::drawWalls().size()}, {"Objects", tileset::drawObjects().size()}};
    // clang-format on
    for (const auto& [folder, count] : folders) {
        const QDir written(root.filePath(QLatin1String(folder)));
        EXPECT_EQ(written.entryList({QStringLiteral("*.png")}, QDir::Files).size(),
                  qsizetype(count));
    }
    EXPECT_EQ(QImage(root.filePath(QStringLiteral("Walls/stone.png"))).size(), QSize(18, 18));

    // A file where a folder must go makes writing fail with a message.
    QTemporaryDir blocked;
    QFile blocker(QDir(blocked.path()).filePath(QStringLiteral("Walls")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(tileset::writeTileset(blocked.path(), false).isEmpty());
}

} // namespace
