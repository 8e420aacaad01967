// The map being edited: floor cells, the four times finer grid of wall
// points and the placed objects. Every position stored here is in map pixels
// (pixels at 100 % zoom). Nothing outside this class writes its contents.
#pragma once

#include "map/Orientation.h"

#include <cstdint>
#include <vector>

namespace halvorn {

// Handle of a loaded picture in the imaging layer; 0 means none.
using ImageHandle = uint32_t;

inline constexpr int CellSize = 72; // map pixels per floor cell
inline constexpr int WallStep = 18; // map pixels between wall points

struct PlacedObject {
    float X = 0;       // left edge, map pixels
    float Y = 0;       // top edge, map pixels
    int16_t Width = 0; // as drawn, after the orientation
    int16_t Height = 0;
    ImageHandle Image = 0; // unrotated picture; 0 = deleted
    Orientation orientation = 0;
    bool Shadow = true;
};

class MapDocument {
public:
    MapDocument();

    // Empties the map for the given size in cells. The arrays reach one column
    // and row beyond the visible floor (and one wall point beyond that), which
    // the tools can touch from just outside the canvas edge.
    void NewMap(float mapWidth, float mapHeight);

    float MapWidth() const { return mapWidth_; }
    float MapHeight() const { return mapHeight_; }

    int FloorColumns() const { return floorCols_; } // 16 for a 15-cell map
    int FloorRows() const { return floorRows_; }
    int WallColumns() const { return wallCols_; } // 62 for a 15-cell map
    int WallRows() const { return wallRows_; }

    bool HasFloorCell(int x, int y) const;
    bool HasWallPoint(int x, int y) const;
    ImageHandle FloorAt(int x, int y) const;
    ImageHandle WallAt(int x, int y) const;

    // Out-of-range positions are ignored. Painting the floor always counts as
    // an edit; painting a wall point with what it holds already does not.
    void SetFloor(int x, int y, ImageHandle image);
    bool SetWall(int x, int y, ImageHandle image);

    // All elements, the last one being the free slot that the next object fills.
    const std::vector<PlacedObject>& Objects() const { return objects_; }
    int AddObject(ImageHandle image, float x, float y, int16_t width, int16_t height,
                  Orientation orientation);

    // Popup commands on a placed object; an index that is not in use is ignored.
    void DeleteObject(int index);
    void ToggleObjectShadow(int index);
    void RotateObjectRight(int index);
    void RotateObjectLeft(int index);
    void FlipObjectHorizontally(int index);
    void FlipObjectVertically(int index);

    // Topmost object in use strictly containing the canvas point (canvas pixels
    // at `zoom`), or -1.
    int ObjectAt(float x, float y, float zoom) const;

    // False from an edit of the floor, the walls or the placed objects until
    // the next MarkSaved; object commands do not count as edits.
    bool MapSaved() const { return saved_; }
    // The user saved the map as it now is.
    void MarkSaved() { saved_ = true; }

private:
    PlacedObject* ObjectInUse(int index);

    float mapWidth_ = 0;
    float mapHeight_ = 0;
    int floorCols_ = 0, floorRows_ = 0, wallCols_ = 0, wallRows_ = 0;
    std::vector<ImageHandle> floor_; // column-major: x * rows + y
    std::vector<ImageHandle> walls_;
    std::vector<PlacedObject> objects_;
    bool saved_ = true;
};

} // namespace halvorn
