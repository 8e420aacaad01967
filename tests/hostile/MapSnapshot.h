// A copy of everything a map holds, for checking that an action left it as
// it was (or how it changed).
#pragma once

#include "map/MapDocument.h"

#include <tuple>
#include <vector>

namespace hostile {

struct MapSnapshot {
    std::vector<halvorn::ImageHandle> floors, walls;
    // Place, size, picture, orientation and shadow of each object.
    std::vector<std::tuple<float, float, int, int, halvorn::ImageHandle, int, bool>> objects;

    static MapSnapshot Of(const halvorn::MapDocument& map)
    {
        MapSnapshot s;
        for (int x = 0; x < map.FloorColumns(); ++x)
            for (int y = 0; y < map.FloorRows(); ++y)
                s.floors.push_back(map.FloorAt(x, y));
        for (int x = 0; x < map.WallColumns(); ++x)
            for (int y = 0; y < map.WallRows(); ++y)
                s.walls.push_back(map.WallAt(x, y));
        for (const halvorn::PlacedObject& o : map.Objects())
            s.objects.emplace_back(o.X, o.Y, o.Width, o.Height, o.Image, o.orientation, o.Shadow);
        return s;
    }
    bool operator==(const MapSnapshot&) const = default;
};

} // namespace hostile
