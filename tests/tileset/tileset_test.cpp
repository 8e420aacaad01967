// Checks on the bundled tile set as the editor will see it: enough pictures in
// each folder, exact sizes, opacity where the grid needs it, transparency
// around objects, readable names and byte-stable output.
#include "Tileset.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
        {"Floors", tileset::drawFloors(), 16, [](const Tile& t) {
             EXPECT_EQ(t.image.size(), QSize(72, 72)) << t.name.toStdString();
             EXPECT_TRUE(fullyOpaque(t.image)) << t.name.toStdString();
         }},
        {"Walls", tileset::drawWalls(), 8, [](const Tile& t) {
             EXPECT_EQ(t.image.size(), QSize(18, 18)) << t.name.toStdString();
             EXPECT_TRUE(fullyOpaque(t.image)) << t.name.toStdString();
         }},
        {"Objects", tileset::drawObjects(), 24, [](const Tile& t) {
             const QImage& img = t.image;
             const QString n = t.name;
             EXPECT_TRUE(img.hasAlphaChannel()) << n.toStdString();
             for (int side : {img.width(), img.height()}) {
                 EXPECT_GE(side, 36) << n.toStdString();
                 EXPECT_LE(side, 144) << n.toStdString();
             }
             EXPECT_LE(img.width() * img.height(), 144 * 72) << n.toStdString();
             for (QPoint corner : {QPoint(0, 0), QPoint(img.width() - 1, 0), QPoint(0, img.height() - 1),
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
        {"Floors", tileset::drawFloors().size()}, {"Walls", tileset::drawWalls().size()}, {"Objects", tileset::drawObjects().size()}};
    for (const auto& [folder, count] : folders)
        EXPECT_EQ(QDir(root.filePath(folder)).entryList({QStringLiteral("*.png")}, QDir::Files).size(), qsizetype(count));
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
