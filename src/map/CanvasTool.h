// The one mouse tool of the map canvas: paints floor cells and wall points
// while a button is held, places objects one per click and finds the object a
// right click is meant for. Positions are canvas pixels at the current zoom.
#pragma once

#include "map/BrushKind.h"
#include "map/MapDocument.h"

#include <QPointF>
#include <QSizeF>

#include <cstdint>
#include <optional>

namespace halvorn {

// Mouse buttons as the tool counts them: a move carries the sum of the held ones.
enum ToolButton : int { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// What the tool needs to know of the current brush; the library's Brush is
// one, with the paths and previews added.
struct CanvasBrush {
    std::optional<BrushKind> Mode; // none until the first choice
    ImageHandle FloorImage = 0;
    ImageHandle WallImage = 0;
    ImageHandle ObjectImage = 0; // as loaded, before the orientation
    int16_t ObjectWidth = 0;     // after the orientation
    int16_t ObjectHeight = 0;
    Orientation ObjectOrientation = 0;
};

struct ToolOutcome {
    enum Effect { Nothing, RedrawWithoutShadows, RedrawWithShadows, OpenPopup };
    Effect effect = Nothing;
    int object = -1; // the object to open the popup for
};

class CanvasTool {
public:
    // Moves the footprint marker (top-left in canvas pixels) for a mouse
    // position; an axis that finds no grid position keeps the marker where it was.
    static QPointF MarkerPosition(std::optional<BrushKind> mode, QPointF mouse, QPointF marker,
                                  QSizeF markerSize, QSizeF canvasSize, float zoom);

    // Applies the tool; `marker` is where the footprint marker stands, which is
    // where a new object goes.
    ToolOutcome ApplyTool(MapDocument& map, const CanvasBrush& brush, int button, QPointF mouse,
                          QPointF marker, QSizeF canvasSize, float zoom);

    // Canvas position last resolved, so a drag paints each position once.
    // -1 means none; it starts so, so that the first press always paints.
    int16_t LastPaintX = -1;
    int16_t LastPaintY = -1;

private:
    ToolOutcome ApplyFloor(MapDocument& map, const CanvasBrush& brush, int button, QPointF mouse,
                           QSizeF canvasSize, float zoom);
    ToolOutcome ApplyWall(MapDocument& map, const CanvasBrush& brush, int button, QPointF mouse,
                          QSizeF canvasSize, float zoom);
    ToolOutcome ApplyObject(MapDocument& map, const CanvasBrush& brush, int button, QPointF mouse,
                            QPointF marker, float zoom);
};

} // namespace halvorn
