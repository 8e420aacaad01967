// Everything that differs between the three kinds of library pictures, one
// table per kind: where the folder setting lives, how the palette is laid
// out, where its pane and the preview box sit in the main window and how
// large the brush preview is. The panel, the panes, the brush and the tests
// all read these numbers from here. Positions are pixels of the main
// window's client area unless a field says otherwise.
#pragma once

#include "map/BrushKind.h"
#include "settings/SettingsStore.h"

#include <QRect>
#include <QSize>

namespace halvorn {

struct TileKindInfo {
    const char* settingKey;    // folder setting
    const char* defaultFolder; // default folder name (settings/TileFolders.h)

    // The palette, in palette canvas pixels.
    int columns;   // thumbnails per palette row
    int pitch;     // distance between palette cells
    int thumbnail; // thumbnail box side

    // The pane that shows the palette.
    const char* paneName; // object names
    const char* canvasName;
    const char* scrollName;
    QRect pane;      // in the client area
    QRect scrollBar; // inside the pane

    // The frame beside the map with the brush preview box in it.
    const char* frameName;
    const char* frameTitle; // ends in a blank, which keeps the frame line off the text
    QRect frame;            // in the client area
    const char* boxName;
    QRect box;     // inside the frame
    int boxBorder; // width of the box's sunken border, 0 for none
    QSize preview; // the brush preview's picture, which fills the box inside its border
};

// Walls are quarter-size pieces, so their palette packs more, smaller cells.
inline constexpr TileKindInfo FloorKindInfo{keys::LocationFloors,
                                            defaults::FloorsFolder,
                                            5,
                                            38,
                                            36,
                                            "FloorSelect",
                                            "FloorSelectCanvas",
                                            "FloorSelectVScroll2",
                                            QRect(8, 128, 208, 192),
                                            QRect(190, 0, 17, 190),
                                            "Frame1",
                                            "Floor Texture ",
                                            QRect(3, 48, 89, 91),
                                            "FloorBox",
                                            QRect(8, 12, 72, 72),
                                            0,
                                            QSize(72, 72)};
inline constexpr TileKindInfo WallKindInfo{keys::LocationWalls,
                                           defaults::WallsFolder,
                                           9,
                                           20,
                                           18,
                                           "WallSelect",
                                           "WallSelectCanvas",
                                           "WallSelectVScroll2",
                                           QRect(104, 128, 200, 192),
                                           QRect(181, 0, 17, 190),
                                           "Frame2",
                                           "Wall Texture ",
                                           QRect(99, 48, 89, 91),
                                           "WallBox",
                                           QRect(8, 12, 72, 72),
                                           0,
                                           QSize(72, 72)};
inline constexpr TileKindInfo ObjectKindInfo{keys::LocationObjects,
                                             defaults::ObjectsFolder,
                                             5,
                                             38,
                                             36,
                                             "ObjectSelect",
                                             "ObjectSelectCanvas",
                                             "ObjectSelectVScroll2",
                                             QRect(8, 288, 208, 192),
                                             QRect(190, 0, 17, 190),
                                             "Frame3",
                                             "Object ",
                                             QRect(3, 144, 185, 153),
                                             "ObjectBox",
                                             QRect(8, 16, 168, 128),
                                             2,
                                             QSize(164, 124)};

static_assert(FloorKindInfo.box.size() == FloorKindInfo.preview &&
                  WallKindInfo.box.size() == WallKindInfo.preview &&
                  ObjectKindInfo.box.size() - QSize(4, 4) == ObjectKindInfo.preview,
              "each preview fills its box inside the border");

constexpr const TileKindInfo& KindInfo(BrushKind kind)
{
    switch (kind) {
    case BrushKind::Wall:
        return WallKindInfo;
    case BrushKind::Object:
        return ObjectKindInfo;
    case BrushKind::Floor:
        break;
    }
    return FloorKindInfo;
}

// Width of every palette canvas, in its own pixels.
inline constexpr int PaletteCanvasWidth = 720;

} // namespace halvorn
