#include "map/CanvasTool.h"

#include "map/GridSearch.h"
#include "map/Numeric.h"

namespace halvorn {

namespace {

// Resolved canvas position on one axis, or -1 when the axis found none.
float Resolve(Grid grid, float pos, float canvasSize, float zoom)
{
    const int i = SearchGrid(grid, Edge::Tool, pos, canvasSize, zoom);
    return i < 0 ? -1.0f : GridPosition(grid, i, zoom);
}

// Both axes of the mouse position, each searched against its canvas side.
void ResolveBoth(Grid grid, QPointF mouse, QSizeF canvasSize, float zoom, float& px, float& py)
{
    px = Resolve(grid, static_cast<float>(mouse.x()), static_cast<float>(canvasSize.width()), zoom);
    py =
        Resolve(grid, static_cast<float>(mouse.y()), static_cast<float>(canvasSize.height()), zoom);
}

} // namespace

QPointF CanvasTool::MarkerPosition(std::optional<BrushKind> mode, QPointF mouse, QPointF marker,
                                   QSizeF markerSize, QSizeF canvasSize, float zoom)
{
    const auto x = static_cast<float>(mouse.x());
    const auto y = static_cast<float>(mouse.y());
    const auto cw = static_cast<float>(canvasSize.width());
    const auto ch = static_cast<float>(canvasSize.height());
    QPointF result = marker;
    if (mode == BrushKind::Floor || mode == BrushKind::Wall) {
        const Grid grid = mode == BrushKind::Floor ? Grid::Floor : Grid::Wall;
        const int i = SearchGrid(grid, Edge::Marker, x, cw, zoom);
        if (i >= 0)
            result.setX(GridPosition(grid, i, zoom));
        const int j = SearchGrid(grid, Edge::Marker, y, ch, zoom);
        if (j >= 0)
            result.setY(GridPosition(grid, j, zoom));
    } else if (mode == BrushKind::Object) {
        result.setX(x - static_cast<float>(markerSize.width()) / 2 + 1);
        result.setY(y - static_cast<float>(markerSize.height()) / 2 + 1);
    }
    return result;
}

ToolOutcome CanvasTool::ApplyTool(MapDocument& map, const CanvasBrush& brush, int button,
                                  QPointF mouse, QPointF marker, QSizeF canvasSize, float zoom)
{
    if (!brush.Mode)
        return {};
    switch (*brush.Mode) {
    case BrushKind::Floor:
        return ApplyFloor(map, brush, button, mouse, canvasSize, zoom);
    case BrushKind::Wall:
        return ApplyWall(map, brush, button, mouse, canvasSize, zoom);
    case BrushKind::Object:
        return ApplyObject(map, brush, button, mouse, marker, zoom);
    }
    return {};
}

ToolOutcome CanvasTool::ApplyFloor(MapDocument& map, const CanvasBrush& brush, int button,
                                   QPointF mouse, QSizeF canvasSize, float zoom)
{
    float px = -1.0f;
    float py = -1.0f;
    ToolOutcome outcome;
    if ((button == LeftButton || button == RightButton) && brush.FloorImage != 0) {
        ResolveBoth(Grid::Floor, mouse, canvasSize, zoom, px, py);
        if (static_cast<float>(LastPaintX) != px || static_cast<float>(LastPaintY) != py) {
            if (px > -1 && py > -1) {
                const float cell = static_cast<float>(CellSize) * zoom;
                map.SetFloor(RoundToInt(px / cell), RoundToInt(py / cell),
                             button == LeftButton ? brush.FloorImage : 0);
            }
            // The canvas is redrawn even when the position lay off the map.
            outcome.effect = ToolOutcome::RedrawWithoutShadows;
        }
    }
    LastPaintX = RoundToInt16(px);
    LastPaintY = RoundToInt16(py);
    return outcome;
}

ToolOutcome CanvasTool::ApplyWall(MapDocument& map, const CanvasBrush& brush, int button,
                                  QPointF mouse, QSizeF canvasSize, float zoom)
{
    float px = -1.0f;
    float py = -1.0f;
    ToolOutcome outcome;
    if ((button == LeftButton || button == RightButton) && brush.WallImage != 0) {
        ResolveBoth(Grid::Wall, mouse, canvasSize, zoom, px, py);
        const bool repeated =
            static_cast<float>(LastPaintX) == px && static_cast<float>(LastPaintY) == py;
        const bool found = px > -9 && py > -9 && px != -1.0f && py != -1.0f;
        if (!repeated && found) {
            const float step = static_cast<float>(WallStep) * zoom;
            const int x = RoundToInt(px / step);
            const int y = RoundToInt(py / step);
            const ImageHandle image = button == LeftButton ? brush.WallImage : 0;
            if (map.SetWall(x, y, image))
                outcome.effect = ToolOutcome::RedrawWithoutShadows;
        }
    }
    LastPaintX = RoundToInt16(px);
    LastPaintY = RoundToInt16(py);
    return outcome;
}

ToolOutcome CanvasTool::ApplyObject(MapDocument& map, const CanvasBrush& brush, int button,
                                    QPointF mouse, QPointF marker, float zoom)
{
    ToolOutcome outcome;
    if (button == LeftButton && brush.ObjectImage != 0) {
        map.AddObject(brush.ObjectImage, static_cast<float>(marker.x()) / zoom,
                      static_cast<float>(marker.y()) / zoom, brush.ObjectWidth, brush.ObjectHeight,
                      brush.ObjectOrientation);
        outcome.effect = ToolOutcome::RedrawWithShadows;
    }
    LastPaintX = -1;
    LastPaintY = -1;
    if (button != RightButton)
        return outcome;
    const int hit =
        map.ObjectAt(static_cast<float>(mouse.x()), static_cast<float>(mouse.y()), zoom);
    if (hit >= 0)
        return ToolOutcome{ToolOutcome::OpenPopup, hit};
    return outcome;
}

} // namespace halvorn
