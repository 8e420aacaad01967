#include "map/GridSearch.h"

#include "map/MapDocument.h"
#include "map/Numeric.h"

namespace halvorn {

int SearchGrid(Grid grid, Edge edge, float pos, float canvasSize, float zoom)
{
    const float step = static_cast<float>(grid == Grid::Floor ? CellSize : WallStep) * zoom;
    const float lowOffset = grid == Grid::Floor ? 1.0f : 9.0f * zoom;
    const int n = RoundToInt16(canvasSize / step);
    for (int i = 0; i <= n; ++i) {
        const float a = step * static_cast<float>(i) - lowOffset;
        const float b = step * static_cast<float>(i + 1) - lowOffset;
        const bool inside = edge == Edge::Marker ? (a < pos && pos <= b) : (a < pos && pos < b);
        if (inside)
            return i;
    }
    return -1;
}

float GridPosition(Grid grid, int i, float zoom)
{
    if (grid == Grid::Floor)
        return static_cast<float>(CellSize) * zoom * static_cast<float>(i);
    return static_cast<float>(WallStep) * zoom * static_cast<float>(i) - 8.0f * zoom;
}

} // namespace halvorn
