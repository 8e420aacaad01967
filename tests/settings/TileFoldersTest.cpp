#include "settings/TileFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace halvorn {
namespace {

TEST(TileFolders, BesideTheProgramFirstThenTheInstalledSet)
{
    enum Beside { Nothing, Folder, File };
    // clang-format off
    const struct { const char* name; Beside beside; bool installed; bool expectInstalled; } rows[] = {
        {"build tree or one folder", Folder, false, false},
        {"installed under a prefix", Nothing, true, true},
        {"both: the program's own folder wins", Folder, true, false},
        {"neither: where the user is told to put them", Nothing, false, false},
        {"a file of the folder's name is no folder", File, true, true},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // An installation under a prefix, laid out as the build installs it.
        const QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/" HALVORN_INSTALL_DIR "/");
        const QString tileSet = dir.path() + QStringLiteral("/" HALVORN_TILESET_INSTALL_DIR "/");
        EXPECT_EQ(InstalledTileSet(program), tileSet);
        ASSERT_TRUE(QDir().mkpath(program));
        const QString beside = program + QStringLiteral("Floors");
        EXPECT_TRUE(row.beside != Folder || QDir().mkpath(beside));
        EXPECT_TRUE(row.beside != File || QFile(beside).open(QIODevice::WriteOnly));
        EXPECT_TRUE(!row.installed || QDir().mkpath(tileSet + QStringLiteral("Floors")));
        EXPECT_EQ(DefaultTileFolderFor(program, QStringLiteral("Floors")),
                  (row.expectInstalled ? tileSet : program) + QStringLiteral("Floors"));
    }
}

} // namespace
} // namespace halvorn
