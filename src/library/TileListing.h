// The pictures of a tile folder, in the order the palette shows them.
#pragma once

#include <QString>
#include <QStringList>

namespace halvorn {

// Paths (folder + "/" + name) of the regular files, or links to them, whose
// names end in ".png" in any letter case; subfolders are never listed. Sorted
// case-insensitively with numbers compared by value ("tile2" before "tile10").
// A missing folder gives an empty list.
QStringList ListTileFiles(const QString& folder);

} // namespace halvorn
