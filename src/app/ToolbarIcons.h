// Tool bar and brush button pictures for when the desktop theme has none: drawn here, in one
// consistent style, rather than borrowed from unrelated standard icons.
#pragma once

#include <QColor>
#include <QIcon>

namespace halvorn {

enum class ToolbarPicture {
    NewMap,
    OpenMap,
    SaveMap,
    PrintMap,
    ZoomIn,
    ZoomOut,
    // The four brush buttons around the object preview.
    RotateLeft,
    RotateRight,
    FlipHorizontal,
    FlipVertical,
};

// The four brush pictures are line drawings in `ink` (give them the palette's
// button text colour); the tool bar's own pictures are in colour and keep
// theirs whatever `ink` says.
QIcon PaintedToolbarIcon(ToolbarPicture picture, const QColor& ink);

// The theme's icon when it has one, else ours.
QIcon ToolbarIcon(const char* themeName, ToolbarPicture picture);

} // namespace halvorn
