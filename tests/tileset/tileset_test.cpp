// Checks on the bundled tile set as the editor will see it: enough pictures in
// each folder, exact sizes, opacity where the grid needs it, transparency
// around objects, readable names and byte-stable output.
#include "Masonry.h"
#include "Tileset.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using tileset::Tile;

bool fullyOpaque(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 255)
                return false;
    return true;
}

// Fraction of pixels with any alpha inside the central half of the picture.
double coveredCentre(const QImage& img)
{
    int covered = 0, total = 0;
    for (int y = img.height() / 4; y < img.height() * 3 / 4; ++y)
        for (int x = img.width() / 4; x < img.width() * 3 / 4; ++x, ++total)
            covered += qAlpha(img.pixel(x, y)) > 0;
    return double(covered) / total;
}

TEST(Tileset, FoldersHoldWellFormedPictures)
{
    struct Case {
        const char* folder;
        std::vector<Tile> tiles;
        std::size_t atLeast;
        std::function<void(const Tile&)> check;
    };
    const Case cases[] = {
        {"Floors", tileset::drawFloors(), 16,
         [](const Tile& t) {
             EXPECT_EQ(t.image.size(), QSize(72, 72)) << t.name.toStdString();
             EXPECT_TRUE(fullyOpaque(t.image)) << t.name.toStdString();
         }},
        {"Walls", tileset::drawWalls(), 8,
         [](const Tile& t) {
             EXPECT_EQ(t.image.size(), QSize(18, 18)) << t.name.toStdString();
             EXPECT_TRUE(fullyOpaque(t.image)) << t.name.toStdString();
         }},
        {"Objects", tileset::drawObjects(), 24,
         [](const Tile& t) {
             const QImage& img = t.image;
             const QString n = t.name;
             EXPECT_TRUE(img.hasAlphaChannel()) << n.toStdString();
             for (int side : {img.width(), img.height()}) {
                 EXPECT_GE(side, 36) << n.toStdString();
                 EXPECT_LE(side, 144) << n.toStdString();
             }
             EXPECT_LE(img.width() * img.height(), 144 * 72) << n.toStdString();
             for (QPoint corner :
                  {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(0, img.height() - 1),
                   QPoint(img.width() - 1, img.height() - 1)})
                 EXPECT_EQ(qAlpha(img.pixel(corner)), 0) << n.toStdString();
             EXPECT_GT(coveredCentre(img), 0.5) << n.toStdString();
         }},
    };
    const QRegularExpression shape(QStringLiteral("^[a-z]+(-[a-z]+)*$"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_GE(c.tiles.size(), c.atLeast);
        QSet<QString> names;
        for (const Tile& t : c.tiles) {
            EXPECT_TRUE(shape.match(t.name).hasMatch()) << t.name.toStdString();
            EXPECT_FALSE(names.contains(t.name)) << "duplicate " << t.name.toStdString();
            names.insert(t.name);
            c.check(t);
        }
    }
}

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

// Where a picture meets its own copy, the step must look like any other step
// between neighbouring pixels inside it; a visible seam is several times larger.
TEST(Tileset, FloorsAndWallsRepeatWithoutSeams)
{
    for (auto draw : {tileset::drawFloors, tileset::drawWalls}) {
        for (const Tile& t : draw()) {
            if (t.name == QLatin1String("iron"))
                continue; // riveted plates: each piece shows its own border on purpose
            for (bool columns : {true, false}) {
                const int last = (columns ? t.image.width() : t.image.height()) - 1;
                double inside = 0;
                for (int i = 0; i < last; ++i)
                    inside += lineDifference(t.image, i, i + 1, columns);
                inside /= last;
                EXPECT_LE(lineDifference(t.image, last, 0, columns), 3.0 * inside + 6.0)
                    << t.name.toStdString() << (columns ? " left/right" : " top/bottom");
            }
        }
    }
}

TEST(Tileset, NoiseAndBlocksWrapAtThePeriod)
{
    using namespace tileset::kit;
    for (double x : {0.0, 13.5, 71.9})
        EXPECT_DOUBLE_EQ(tiledFbm(x, 5, 72, 72, 3, 3, 4, 7),
                         tiledFbm(x + 72, 5 - 72, 72, 72, 3, 3, 4, 7));

    const std::vector<Course> rows{{0, 10, {4, 12}}, {10, 8, {0}}};
    struct Case {
        double x, y;
        int row, column;
        double u, w;
    };
    const Case cases[] = {
        {4.0, 0.0, 0, 0, 0.0, 8.0}, // first block starts at its cut
        {11.99, 9.99, 0, 0, 7.99, 8.0},
        {12.0, 3.0, 0, 1, 0.0, 10.0}, // last block wraps past the period...
        {3.0, 3.0, 0, 1, 9.0, 10.0},  // ...and continues before the first cut
        {-1.0, 10.0, 1, 0, 17.0, 18.0},
        {19.0, 21.0, 0, 1, 7.0, 10.0}, // one period on in both directions
    };
    for (const Case& c : cases) {
        const Block b = locateBlock(rows, 18, c.x, c.y);
        EXPECT_EQ(b.row, c.row) << c.x << "," << c.y;
        EXPECT_EQ(b.column, c.column) << c.x << "," << c.y;
        EXPECT_NEAR(b.u, c.u, 1e-9) << c.x << "," << c.y;
        EXPECT_DOUBLE_EQ(b.w, c.w) << c.x << "," << c.y;
    }
}

TEST(Tileset, DrawingIsRepeatable)
{
    for (auto draw : {tileset::drawFloors, tileset::drawWalls, tileset::drawObjects}) {
        const std::vector<Tile> a = draw(), b = draw();
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            EXPECT_EQ(a[i].image, b[i].image) << a[i].name.toStdString();
    }
}

TEST(Tileset, WritesFoldersAndReplacesStaleFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("Floors")));
    const QString stale = root.filePath(QStringLiteral("Floors/old-name.png"));
    QImage(4, 4, QImage::Format_RGB32).save(stale);
    const QString keep = root.filePath(QStringLiteral("Floors/notes.txt"));
    QFile notes(keep);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    ASSERT_EQ(tileset::writeTileset(dir.path(), true), QString());
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(keep));
    const std::pair<const char*, std::size_t> folders[] = {
        {"Floors", tileset::drawFloors().size()},
        {"Walls", tileset::drawWalls().size()},
        {"Objects", tileset::drawObjects().size()}};
    for (const auto& [folder, count] : folders)
        EXPECT_EQ(QDir(root.filePath(QLatin1String(folder)))
                      .entryList({QStringLiteral("*.png")}, QDir::Files)
                      .size(),
                  qsizetype(count));
    const QImage reread(root.filePath(QStringLiteral("Walls/stone.png")));
    EXPECT_EQ(reread.size(), QSize(18, 18));

    // A file where a folder must go makes writing fail with a message.
    QTemporaryDir blocked;
    QFile blocker(QDir(blocked.path()).filePath(QStringLiteral("Walls")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(tileset::writeTileset(blocked.path(), false).isEmpty());
}

} // namespace
