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

// The entries whose cells show, wholly or in part, in a band of canvas rows:
// [first, end).
struct CellRange {
    int first = 0;
    int end = 0;
};

// The grid of one kind's palette cells: `columns` to a row, each a square of
// `pitch` canvas pixels, entry 0 at the top left. Every cell position, hit
// and row count of a palette comes from here.
struct PaletteGrid {
    int columns = 1;
    int pitch = 1;

    static constexpr PaletteGrid Of(BrushKind kind)
    {
        const TileKindInfo& info = KindInfo(kind);
        return {info.columns, info.pitch};
    }

    // The entry's cell, in canvas coordinates.
    constexpr QRect Cell(int index) const
    {
        return QRect(index % columns * pitch, index / columns * pitch, pitch, pitch);
    }
    // The entry under canvas point (x, y); no column check, so a point right
    // of the last column gives an index in the next row.
    int32_t CellAt(float x, float y) const;
    // Width of all the columns.
    constexpr int Width() const { return columns * pitch; }
    // A partly filled last row counts as a row.
    constexpr int Rows(int count) const { return count / columns + (count % columns != 0 ? 1 : 0); }
    // pitch × rows + 2.
    constexpr int CanvasHeight(int count) const { return pitch * Rows(count) + 2; }
    // The entries in the rows that fit wholly in `height` pixels.
    constexpr int CellsInWholeRows(int height) const { return height / pitch * columns; }
    // The entries whose cells show between canvas rows `top` and
    // `top + height - 1`.
    CellRange CellsInRows(int top, int height) const;
};

// Where the thumbnail of entry `index` is drawn for a picture of `picture`
// size: floors and walls fill their box, objects are limited to it side by
// side and centred.
QRect ThumbnailRect(BrushKind kind, int index, QSize picture);

struct ScrollSteps {
    int maximum = 0;
    // Unset when there is nothing to scroll: the bar keeps its old steps.
    std::optional<int> largeStep;
    std::optional<int> smallStep;
};

ScrollSteps PaletteScrollSteps(int canvasHeight, int frameHeight = PaletteFrameHeight);

} // namespace halvorn
