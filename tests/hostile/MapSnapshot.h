// A copy of everything a map holds, for checking that an action left it as
// it was (or how it changed).
#pragma once

#include "map/MapDocument.h"

#include <cstddef>
#include <vector>

namespace hostile {

struct MapSnapshot {
    std::vector<halvorn::ImageHandle> floors;
    std::vector<halvorn::ImageHandle> walls;
    std::vector<halvorn::PlacedObject> objects;

    static MapSnapshot Of(const halvorn::MapDocument& map)
    {
        MapSnapshot s;
        for (int x = 0; x < map.FloorColumns(); ++x)
            for (int y = 0; y < map.FloorRows(); ++y)
                s.floors.push_back(map.FloorAt(x, y));
        for (int x = 0; x < map.WallColumns(); ++x)
            for (int y = 0; y < map.WallRows(); ++y)
                s.walls.push_back(map.WallAt(x, y));
        s.objects = map.Objects();
        return s;
    }

    bool SameObjects(const MapSnapshot& other) const
    {
        if (objects.size() != other.objects.size())
            return false;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const halvorn::PlacedObject& a = objects[i];
            const halvorn::PlacedObject& b = other.objects[i];
            if (a.X != b.X || a.Y != b.Y || a.Width != b.Width || a.Height != b.Height ||
                a.Image != b.Image || a.orientation != b.orientation || a.Shadow != b.Shadow)
                return false;
        }
        return true;
    }
    bool operator==(const MapSnapshot& other) const
    {
        return floors == other.floors && walls == other.walls && SameObjects(other);
    }
};

} // namespace hostile
