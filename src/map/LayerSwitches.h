// What the renderer draws. The switches belong to the window, not to a map:
// a new map keeps them.
#pragma once

namespace halvorn {

struct LayerSwitches {
    bool ShowBackgroundLayer = true; // drawn always; kept for its menu item
    bool ShowGridLayer = false;
    bool ShowFloorLayer = true;
    bool ShowObjectLayer = true;
    bool ShowWallLayer = true;
};

} // namespace halvorn
