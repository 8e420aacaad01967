#include "settings/TileFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace halvorn {
namespace {

// An installation under a prefix, laid out as the build installs it.
struct Prefix {
    QTemporaryDir dir;
    QString program = dir.path() + QStringLiteral("/" HALVORN_INSTALL_DIR "/");
    QString tileSet = dir.path() + QStringLiteral("/" HALVORN_TILESET_INSTALL_DIR "/");
};

TEST(TileFolders, InstalledTileSetIsFoundFromTheProgramFolder)
{
    Prefix prefix;
    EXPECT_EQ(InstalledTileSet(prefix.program), prefix.tileSet);
}

TEST(TileFolders, BesideTheProgramFirstThenTheInstalledSet)
{
    struct Row {
        const char* name;
        bool beside;
        bool installed;
        bool expectInstalled;
    };
    const Row rows[] = {
        {"build tree or one folder", true, false, false},
        {"installed under a prefix", false, true, true},
        {"both: the program's own folder wins", true, true, false},
        {"neither: where the user is told to put them", false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Prefix prefix;
        ASSERT_TRUE(QDir().mkpath(prefix.program));
        if (row.beside) {
            ASSERT_TRUE(QDir().mkpath(prefix.program + QStringLiteral("Floors")));
        }
        if (row.installed) {
            ASSERT_TRUE(QDir().mkpath(prefix.tileSet + QStringLiteral("Floors")));
        }
        EXPECT_EQ(DefaultTileFolderFor(prefix.program, QStringLiteral("Floors")),
                  (row.expectInstalled ? prefix.tileSet : prefix.program) +
                      QStringLiteral("Floors"));
    }
}

TEST(TileFolders, AFileOfTheFolderNameIsNotAFolder)
{
    Prefix prefix;
    ASSERT_TRUE(QDir().mkpath(prefix.program));
    ASSERT_TRUE(QDir().mkpath(prefix.tileSet + QStringLiteral("Walls")));
    QFile stray(prefix.program + QStringLiteral("Walls"));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    EXPECT_EQ(DefaultTileFolderFor(prefix.program, QStringLiteral("Walls")),
              prefix.tileSet + QStringLiteral("Walls"));
}

} // namespace
} // namespace halvorn
