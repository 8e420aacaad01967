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
// Widget coordinates are 16-bit, so no canvas may grow past this.
inline constexpr int PaletteMaxCanvasHeight = 32767;

// pitch × rows + 2, a partly filled last row counting as a row.
int PaletteCanvasHeight(TileKind kind, int count);

// How many entries fit before the canvas would pass PaletteMaxCanvasHeight.
int PaletteCapacity(TileKind kind);

// Where the thumbnail of entry `index` is drawn for a picture of `picture`
// size: floors and walls fill their box, objects are limited to it side by
// side and centred.
QRect ThumbnailRect(TileKind kind, int index, QSize picture);

// The entry under canvas point (x, y); no column check, so a point right of
// the last column gives an index in the next row.
int16_t PaletteCellAt(TileKind kind, float x, float y);

struct ScrollSteps {
    int maximum = 0;
    // Unset when there is nothing to scroll: the bar keeps its old steps.
    std::optional<int> largeStep;
    std::optional<int> smallStep;
};

ScrollSteps PaletteScrollSteps(int canvasHeight, int frameHeight = PaletteFrameHeight);

} // namespace halvorn
