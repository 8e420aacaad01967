// The short name a tile is shown by in tooltips and the status bar.
#pragma once

#include <QString>

namespace halvorn {

// The file name after the last "/" without its four-character extension:
// ".../stone1.png" gives "stone1".
QString TileDisplayName(const QString& path);

} // namespace halvorn
