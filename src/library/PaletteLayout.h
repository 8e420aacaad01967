// Palette geometry: where each thumbnail goes, how tall the canvas is, how
// far it scrolls and which cell a point falls in.
#pragma once

#include "library/TileKind.h"

#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

namespace halvorn {

// Height of the visible part of every pane.
inline constexpr int PaletteFrameHeight = 192;

// pitch × rows + 2, a partly filled last row counting as a row.
int PaletteCanvasHeight(BrushKind kind, int count);

// Where the thumbnail of entry `index` is drawn for a picture of `picture`
// size: floors and walls fill their box, objects are limited to it side by
// side and centred.
QRect ThumbnailRect(BrushKind kind, int index, QSize picture);

// The entry under canvas point (x, y); no column check, so a point right of
// the last column gives an index in the next row.
int32_t PaletteCellAt(BrushKind kind, float x, float y);

// The entries whose cells show, wholly or in part, between canvas rows `top`
// and `top + height - 1`: [first, end).
struct CellRange {
    int first = 0;
    int end = 0;
};
CellRange PaletteCellsInRows(BrushKind kind, int top, int height);

struct ScrollSteps {
    int maximum = 0;
    // Unset when there is nothing to scroll: the bar keeps its old steps.
    std::optional<int> largeStep;
    std::optional<int> smallStep;
};

ScrollSteps PaletteScrollSteps(int canvasHeight, int frameHeight = PaletteFrameHeight);

} // namespace halvorn
