// The pictures of a tile folder, in the order the palette shows them.
#pragma once

#include "imaging/FileIdentity.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace halvorn {

struct TileFile {
    QString path; // folder + "/" + name
    FileIdentity identity;
};

// The paths of the folder's entries whose names end in ".png" in any letter
// case, hidden (dot) names and names the file system cannot give back as
// text left out, sorted case-insensitively with numbers compared by value
// ("tile2" before "tile10"). Only the folder is read: whether each is a
// picture file at all is for ExamineTileFile. A folder that cannot be opened
// gives an empty list; one whose reading fails part way, what was read.
QStringList ListTileNames(const QString& folder);

// The identity of a listed path when it is a regular file, or a link to one;
// nothing for folders, pipes, devices, dangling links and files that cannot
// be examined.
std::optional<FileIdentity> ExamineTileFile(const QString& path);

// ListTileNames with every entry examined, in one go: the tiles as the
// palette shows them once it is complete. Each file is examined once, and
// its identity is as found then.
std::vector<TileFile> ListTileFolder(const QString& folder);

// The paths of the same listing.
QStringList ListTileFiles(const QString& folder);

} // namespace halvorn
