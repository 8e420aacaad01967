// The short name a tile is shown by in tooltips and the status bar.
#pragma once

#include <QString>

namespace halvorn {

// The file name after the last "/" without its four-character extension:
// ".../stone1.png" gives "stone1", with its control characters made visible.
QString TileDisplayName(const QString& path);

// The text with every control character (and the line and paragraph
// separators) and every byte of a name that is not UTF-8 shown as the
// replacement character U+FFFD: a line break in a file name would
// otherwise split the status line and the tooltip into cut lines.
QString VisibleControls(QString text);

} // namespace halvorn
