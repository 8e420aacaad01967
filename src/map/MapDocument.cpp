#include "map/MapDocument.h"

#include "map/Numeric.h"

#include <utility>

namespace halvorn {

MapDocument::MapDocument()
{
    NewMap(15, 15);
}

void MapDocument::NewMap(float mapWidth, float mapHeight)
{
    mapWidth_ = mapWidth;
    mapHeight_ = mapHeight;
    floorCols_ = RoundToInt(mapWidth) + 1;
    floorRows_ = RoundToInt(mapHeight) + 1;
    floor_.assign(static_cast<size_t>(floorCols_) * floorRows_, 0);
    objects_.assign(1, PlacedObject{});
    wallCols_ = RoundToInt(4 * mapWidth + 1) + 1;
    wallRows_ = RoundToInt(4 * mapHeight + 1) + 1;
    walls_.assign(static_cast<size_t>(wallCols_) * wallRows_, 0);
}

bool MapDocument::HasFloorCell(int x, int y) const
{
    return x >= 0 && y >= 0 && x < floorCols_ && y < floorRows_;
}

bool MapDocument::HasWallPoint(int x, int y) const
{
    return x >= 0 && y >= 0 && x < wallCols_ && y < wallRows_;
}

ImageHandle MapDocument::FloorAt(int x, int y) const
{
    return HasFloorCell(x, y) ? floor_[static_cast<size_t>(x) * floorRows_ + y] : 0;
}

ImageHandle MapDocument::WallAt(int x, int y) const
{
    return HasWallPoint(x, y) ? walls_[static_cast<size_t>(x) * wallRows_ + y] : 0;
}

void MapDocument::SetFloor(int x, int y, ImageHandle image)
{
    if (!HasFloorCell(x, y))
        return;
    floor_[static_cast<size_t>(x) * floorRows_ + y] = image;
    saved_ = false;
}

bool MapDocument::SetWall(int x, int y, ImageHandle image)
{
    if (!HasWallPoint(x, y))
        return false;
    ImageHandle& cell = walls_[static_cast<size_t>(x) * wallRows_ + y];
    if (cell == image)
        return false;
    cell = image;
    saved_ = false;
    return true;
}

int MapDocument::AddObject(ImageHandle image, float x, float y, int16_t width, int16_t height,
                           Orientation orientation)
{
    PlacedObject& slot = objects_.back();
    slot = PlacedObject{x, y, width, height, image, orientation, true};
    objects_.emplace_back();
    saved_ = false;
    return static_cast<int>(objects_.size()) - 2;
}

PlacedObject* MapDocument::ObjectInUse(int index)
{
    if (index < 0 || index >= static_cast<int>(objects_.size()) - 1)
        return nullptr;
    PlacedObject& o = objects_[static_cast<size_t>(index)];
    return o.Image != 0 ? &o : nullptr;
}

void MapDocument::DeleteObject(int index)
{
    if (PlacedObject* o = ObjectInUse(index))
        o->Image = 0;
}

void MapDocument::ToggleObjectShadow(int index)
{
    if (PlacedObject* o = ObjectInUse(index))
        o->Shadow = !o->Shadow;
}

void MapDocument::RotateObjectRight(int index)
{
    if (PlacedObject* o = ObjectInUse(index)) {
        o->orientation = RotateRight(o->orientation);
        std::swap(o->Width, o->Height);
    }
}

void MapDocument::RotateObjectLeft(int index)
{
    if (PlacedObject* o = ObjectInUse(index)) {
        o->orientation = RotateLeft(o->orientation);
        std::swap(o->Width, o->Height);
    }
}

void MapDocument::FlipObjectHorizontally(int index)
{
    if (PlacedObject* o = ObjectInUse(index))
        o->orientation = FlipHorizontally(o->orientation);
}

void MapDocument::FlipObjectVertically(int index)
{
    if (PlacedObject* o = ObjectInUse(index))
        o->orientation = FlipVertically(o->orientation);
}

int MapDocument::ObjectAt(float x, float y, float zoom) const
{
    for (int i = static_cast<int>(objects_.size()) - 2; i >= 0; --i) {
        const PlacedObject& o = objects_[static_cast<size_t>(i)];
        if (o.Image == 0)
            continue;
        const float left = o.X * zoom;
        const float right = (o.X + static_cast<float>(o.Width)) * zoom;
        const float top = o.Y * zoom;
        const float bottom = (o.Y + static_cast<float>(o.Height)) * zoom;
        if (left < x && x < right && top < y && y < bottom)
            return i;
    }
    return -1;
}

} // namespace halvorn
