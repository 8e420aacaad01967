#include "library/TileKind.h"

#include "settings/SettingsStore.h"

namespace halvorn {

const TileKindInfo& KindInfo(BrushKind kind)
{
    // Walls are quarter-size pieces, so their palette packs more, smaller cells.
    static const TileKindInfo floor{keys::LocationFloors, defaults::FloorsFolder,
                                    5, 38, 36, "FloorSelect", "FloorSelectCanvas",
                                    "FloorSelectVScroll2", QRect(8, 128, 208, 192),
                                    QRect(190, 0, 17, 190)};
    static const TileKindInfo wall{keys::LocationWalls, defaults::WallsFolder,
                                   9, 20, 18, "WallSelect", "WallSelectCanvas",
                                   "WallSelectVScroll2", QRect(104, 128, 200, 192),
                                   QRect(181, 0, 17, 190)};
    static const TileKindInfo object{keys::LocationObjects, defaults::ObjectsFolder,
                                     5, 38, 36, "ObjectSelect", "ObjectSelectCanvas",
                                     "ObjectSelectVScroll2", QRect(8, 288, 208, 192),
                                     QRect(190, 0, 17, 190)};
    switch (kind) {
    case BrushKind::Wall:
        return wall;
    case BrushKind::Object:
        return object;
    case BrushKind::Floor:
        break;
    }
    return floor;
}

} // namespace halvorn
