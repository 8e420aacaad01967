// A map that exercises every drawing path: gradient pictures with holes and
// half-transparent bands, floors in two thirds of the cells, walls on lines
// and scattered, objects in all eight orientations, some without shadow, one
// deleted.
#pragma once

#include "imaging/Imaging.h"
#include "map/MapDocument.h"
#include "render/ShortcutCheck.h"

#include <QImage>

#include <random>
#include <utility>

namespace rendertest {

using namespace halvorn;

// The renderer check's probe pictures: scaling, turning and blending
// faults all show.
inline ImageHandle Picture(int w, int h, int seed, bool holes)
{
    return ProbePicture(w, h, seed, holes);
}

inline MapDocument BusyMap(unsigned seed)
{
    std::mt19937 rng(seed);
    MapDocument map;
    const ImageHandle floors[] = {Picture(72, 72, 1, false), Picture(72, 72, 2, true)};
    const ImageHandle walls[] = {Picture(18, 18, 3, false), Picture(18, 18, 4, true)};
    const ImageHandle objects[] = {Picture(37, 23, 5, true), Picture(72, 36, 6, true),
                                   Picture(20, 50, 7, false)};
    for (int x = 0; x < map.FloorColumns(); ++x)
        for (int y = 0; y < map.FloorRows(); ++y)
            if (rng() % 3 != 0)
                map.SetFloor(x, y, floors[rng() % 2]);
    for (int x = 0; x < map.WallColumns(); ++x)
        for (int y = 0; y < map.WallRows(); ++y)
            if (x % 8 == 0 || y % 12 == 0 || rng() % 9 == 0)
                map.SetWall(x, y, walls[rng() % 2]);
    for (int i = 0; i < 40; ++i) {
        const ImageHandle image = objects[i % 3];
        const Orientation orientation = i % 8;
        int16_t w = static_cast<int16_t>(ImageWidth(image));
        int16_t h = static_cast<int16_t>(ImageHeight(image));
        if (SwapsSides(orientation))
            std::swap(w, h);
        map.AddObject(image, static_cast<float>(rng() % 1100) - 20.0f + 0.5f * (i % 2),
                      static_cast<float>(rng() % 1100) - 20.0f, w, h, orientation);
        if (i % 7 == 3)
            map.ToggleObjectShadow(i);
    }
    map.DeleteObject(11);
    return map;
}

} // namespace rendertest
