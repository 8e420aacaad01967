#include "map/GridSearch.h"

#include "map/MapDocument.h"
#include "map/Numeric.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace halvorn {

namespace {

float Step(Grid grid, float zoom)
{
    return static_cast<float>(grid == Grid::Floor ? CellSize : WallStep) * zoom;
}

float LowOffset(Grid grid, float zoom)
{
    return grid == Grid::Floor ? 1.0f : 9.0f * zoom;
}

// The lower bound a(i) of interval i, exactly as the search computes it.
float LowerBound(Grid grid, int i, float zoom)
{
    return Step(grid, zoom) * static_cast<float>(i) - LowOffset(grid, zoom);
}

// Where along the path (0 at `from`, 1 at `to`) one axis crosses an interval
// bound: only there can the position under the path change.
void AddCrossings(Grid grid, double from, double to, float canvasSize, float zoom,
                  std::vector<double>& ts)
{
    if (from == to)
        return;
    const int n = RoundToInt16(canvasSize / Step(grid, zoom));
    for (int i = 0; i <= n + 1; ++i) {
        const double t = (static_cast<double>(LowerBound(grid, i, zoom)) - from) / (to - from);
        if (t > 0 && t < 1)
            ts.push_back(t);
    }
}

} // namespace

int SearchGrid(Grid grid, Edge edge, float pos, float canvasSize, float zoom)
{
    const int n = RoundToInt16(canvasSize / Step(grid, zoom));
    for (int i = 0; i <= n; ++i) {
        const float a = LowerBound(grid, i, zoom);
        const float b = LowerBound(grid, i + 1, zoom);
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

namespace halvorn {

std::vector<QPointF> StrokePath(Grid grid, QPointF from, QPointF to, QSizeF canvasSize, float zoom)
{
    const auto cw = static_cast<float>(canvasSize.width());
    const auto ch = static_cast<float>(canvasSize.height());
    const auto cellAt = [&](QPointF p) {
        return std::pair(SearchGrid(grid, Edge::Tool, static_cast<float>(p.x()), cw, zoom),
                         SearchGrid(grid, Edge::Tool, static_cast<float>(p.y()), ch, zoom));
    };
    std::vector<double> ts{0.0, 1.0};
    AddCrossings(grid, from.x(), to.x(), cw, zoom, ts);
    AddCrossings(grid, from.y(), to.y(), ch, zoom, ts);
    std::sort(ts.begin(), ts.end());
    // Between two crossings the position is one and the same: the middle of
    // each stretch stands for it. A stretch that resolves nothing on an axis
    // (a bound itself, or off the grid) paints nothing and is passed over.
    std::vector<QPointF> points;
    std::pair<int, int> last = cellAt(from);
    for (std::size_t k = 1; k + 1 < ts.size(); ++k) {
        const double t = (ts[k - 1] + ts[k]) / 2;
        if (ts[k] - ts[k - 1] <= 0)
            continue;
        const QPointF p = from + (to - from) * t;
        const auto cell = cellAt(p);
        if (cell.first < 0 || cell.second < 0 || cell == last)
            continue;
        points.push_back(p);
        last = cell;
    }
    // The last stretch holds `to`, which the tool takes by its own rules.
    points.push_back(to);
    return points;
}

} // namespace halvorn
