// Finding the floor cell or wall point under a canvas position, one axis at a
// time. All arithmetic is single precision: the pixel results depend on it.
#pragma once

#include <QPointF>
#include <QSizeF>

#include <vector>

namespace halvorn {

enum class Grid { Floor, Wall };

// How an interval's upper edge counts: the footprint marker takes a position on
// the last pixel of a cell, the painting tool does not.
enum class Edge { Marker, Tool };

// Index i of the first interval a(i) < pos <= b(i) (Marker) or a(i) < pos < b(i)
// (Tool), scanning i = 0 .. round(canvasSize / step) inclusive; -1 when none.
int SearchGrid(Grid grid, Edge edge, float pos, float canvasSize, float zoom);

// Canvas position that index i resolves to: the cell corner for floors, the
// marker's left/top edge for walls.
float GridPosition(Grid grid, int i, float zoom);

// The points of the straight path from `from` to `to` (canvas pixels) at which
// the painting tool reaches a grid position it has not reached since `from`,
// one inside each position, in the order the path enters them; `to` itself
// always ends the list. The window reports a fast drag as a few far-apart
// positions, and painting only those left the cells between them blank.
std::vector<QPointF> StrokePath(Grid grid, QPointF from, QPointF to, QSizeF canvasSize, float zoom);

} // namespace halvorn
