#include "settings/TileFolders.h"

#include "imaging/Imaging.h"

#include <QDir>
#include <QFileInfo>

namespace halvorn {

QString InstalledTileSet(const QString& programFolder)
{
    // The build works the path out from its own install folders.
    return QDir::cleanPath(programFolder + QLatin1String(HALVORN_TILESET_FROM_PROGRAM)) +
           QLatin1Char('/');
}

QString DefaultTileFolderFor(const QString& programFolder, const QString& folderName)
{
    const QString beside = programFolder + folderName;
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed = InstalledTileSet(programFolder) + folderName;
    if (QFileInfo(installed).isDir())
        return installed;
    return beside;
}

QString DefaultTileFolder(const QString& folderName)
{
    return DefaultTileFolderFor(AppPath(), folderName);
}

} // namespace halvorn
