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

    // The brush preview's picture, which fills the box inside its border.
    constexpr QSize Preview() const { return box.size() - QSize(2 * boxBorder, 2 * boxBorder); }
};

// Walls are quarter-size pieces, so their palette packs more, smaller cells.
inline constexpr TileKindInfo FloorKindInfo{
    .settingKey = keys::LocationFloors,
    .defaultFolder = defaults::FloorsFolder,
    .columns = 5,
    .pitch = 38,
    .thumbnail = 36,
    .paneName = "FloorSelect",
    .canvasName = "FloorSelectCanvas",
    .scrollName = "FloorSelectVScroll2",
    .pane = QRect(8, 128, 208, 192),
    .scrollBar = QRect(190, 0, 17, 190),
    .frameName = "Frame1",
    .frameTitle = "Floor Texture ",
    .frame = QRect(3, 48, 89, 91),
    .boxName = "FloorBox",
    .box = QRect(8, 12, 72, 72),
    .boxBorder = 0,
};
inline constexpr TileKindInfo WallKindInfo{
    .settingKey = keys::LocationWalls,
    .defaultFolder = defaults::WallsFolder,
    .columns = 9,
    .pitch = 20,
    .thumbnail = 18,
    .paneName = "WallSelect",
    .canvasName = "WallSelectCanvas",
    .scrollName = "WallSelectVScroll2",
    .pane = QRect(104, 128, 200, 192),
    .scrollBar = QRect(181, 0, 17, 190),
    .frameName = "Frame2",
    .frameTitle = "Wall Texture ",
    .frame = QRect(99, 48, 89, 91),
    .boxName = "WallBox",
    .box = QRect(8, 12, 72, 72),
    .boxBorder = 0,
};
inline constexpr TileKindInfo ObjectKindInfo{
    .settingKey = keys::LocationObjects,
    .defaultFolder = defaults::ObjectsFolder,
    .columns = 5,
    .pitch = 38,
    .thumbnail = 36,
    .paneName = "ObjectSelect",
    .canvasName = "ObjectSelectCanvas",
    .scrollName = "ObjectSelectVScroll2",
    .pane = QRect(8, 288, 208, 192),
    .scrollBar = QRect(190, 0, 17, 190),
    .frameName = "Frame3",
    .frameTitle = "Object ",
    .frame = QRect(3, 144, 185, 153),
    .boxName = "ObjectBox",
    .box = QRect(8, 16, 168, 128),
    .boxBorder = 2,
};

constexpr const TileKindInfo& KindInfo(BrushKind kind)
{
    constexpr PerKind<const TileKindInfo*> infos{{&FloorKindInfo, &WallKindInfo, &ObjectKindInfo}};
    return *infos[kind];
}

// Width of every palette canvas, in its own pixels.
inline constexpr int PaletteCanvasWidth = 720;

} // namespace halvorn
