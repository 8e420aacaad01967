#include "Tileset.h"

#include <QDir>
#include <QSet>

namespace tileset {

static QString writeFolder(const QDir& root, const QString& folder, const std::vector<Tile>& tiles,
                           bool replaceOld)
{
    if (!root.mkpath(folder))
        return QStringLiteral("cannot create %1").arg(root.filePath(folder));
    const QDir dir(root.filePath(folder));
    QSet<QString> ours;
    for (const Tile& t : tiles)
        ours.insert(t.name + QStringLiteral(".png"));
    if (replaceOld) {
        for (const QString& f : dir.entryList({QStringLiteral("*.png")}, QDir::Files))
            if (!ours.contains(f) && !QFile::remove(dir.filePath(f)))
                return QStringLiteral("cannot remove %1").arg(dir.filePath(f));
    }
    for (const Tile& t : tiles) {
        const QString path = dir.filePath(t.name + QStringLiteral(".png"));
        if (!t.image.save(path, "PNG"))
            return QStringLiteral("cannot write %1").arg(path);
    }
    return {};
}

QString writeTileset(const QString& dir, bool replaceOld)
{
    const QDir root(dir);
    if (!root.exists() && !QDir().mkpath(dir))
        return QStringLiteral("cannot create %1").arg(dir);
    for (const auto& [folder, tiles] : {std::pair{QStringLiteral("Floors"), drawFloors()},
                                        std::pair{QStringLiteral("Walls"), drawWalls()},
                                        std::pair{QStringLiteral("Objects"), drawObjects()}}) {
        if (QString error = writeFolder(root, folder, tiles, replaceOld); !error.isEmpty())
            return error;
    }
    return {};
}

} // namespace tileset
