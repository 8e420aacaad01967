// Everything that differs between the three kinds of library pictures:
// where their folder setting lives, how their palette is laid out and where
// its pane sits in the main window.
#pragma once

#include "map/BrushKind.h"

#include <QRect>
#include <QString>

namespace halvorn {

struct TileKindInfo {
    const char* settingKey;    // folder setting
    const char* defaultFolder; // default folder name (settings/TileFolders.h)
    int columns;               // thumbnails per palette row
    int pitch;                 // distance between palette cells
    int thumbnail;             // thumbnail box side
    const char* frameName;     // pane object names
    const char* canvasName;
    const char* scrollName;
    QRect frame;     // pane in main-window client coordinates
    QRect scrollBar; // inside the pane
};

inline constexpr int PaletteCanvasWidth = 720;

const TileKindInfo& KindInfo(BrushKind kind);

} // namespace halvorn
