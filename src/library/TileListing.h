// The pictures of a tile folder, in the order the palette shows them.
#pragma once

#include "render/FileIdentity.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace halvorn {

struct TileFile {
    QString path; // folder + "/" + name
    FileIdentity identity;
};

// The regular files, or links to them, whose names end in ".png" in any
// letter case; subfolders and hidden (dot) files are never listed, nor names
// the file system cannot give back as text. Sorted case-insensitively with
// numbers compared by value ("tile2" before "tile10"). A missing folder gives
// an empty list. Each file is examined once, and its identity is as found
// then.
std::vector<TileFile> ListTileFolder(const QString& folder);

// The paths of the same listing.
QStringList ListTileFiles(const QString& folder);

} // namespace halvorn
