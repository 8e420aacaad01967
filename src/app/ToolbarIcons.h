// Tool bar and brush button pictures for when the desktop theme has none: drawn here, in one
// consistent style, rather than borrowed from unrelated standard icons.
#pragma once

#include <QIcon>

namespace halvorn {

enum class ToolbarPicture {
    NewMap, OpenMap, SaveMap, PrintMap, ZoomIn, ZoomOut,
    // The four brush buttons around the object preview.
    RotateLeft, RotateRight, FlipHorizontal, FlipVertical,
};

QIcon PaintedToolbarIcon(ToolbarPicture picture);

// The theme's icon when it has one, else ours.
QIcon ToolbarIcon(const char* themeName, ToolbarPicture picture);

} // namespace halvorn
