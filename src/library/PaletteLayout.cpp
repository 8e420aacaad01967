#include "library/PaletteLayout.h"

#include "map/Numeric.h"

#include <algorithm>

namespace halvorn {

QRect ThumbnailRect(BrushKind kind, int index, QSize picture)
{
    const TileKindInfo& info = KindInfo(kind);
    const QPoint cell = PaletteGrid::Of(kind).Cell(index).topLeft();
    const int left = cell.x();
    const int top = cell.y();
    if (kind != BrushKind::Object)
        return QRect(left + 1, top + 1, info.thumbnail, info.thumbnail);

    // Each side is limited on its own: a large oblong object is squeezed
    // square rather than shrunk in proportion.
    const int box = info.thumbnail;
    const int w = std::min(picture.width(), box);
    const int h = std::min(picture.height(), box);
    const int half = box / 2;
    const int hoff = w >= box ? 1 : RoundToInt(half - w / 2.0);
    const int voff = h >= box ? 1 : RoundToInt(half - h / 2.0);
    return QRect(left + hoff, top + voff, w, h);
}

int32_t PaletteGrid::CellAt(float x, float y) const
{
    const int row = RoundToInt(y) / pitch;
    const int column = RoundToInt(x) / pitch;
    return row * columns + column;
}

CellRange PaletteGrid::CellsInRows(int top, int height) const
{
    if (height <= 0)
        return {};
    const int firstRow = std::max(0, top) / pitch;
    const int lastRow = std::max(0, top + height - 1) / pitch;
    return {firstRow * columns, (lastRow + 1) * columns};
}

ScrollSteps PaletteScrollSteps(int canvasHeight, int frameHeight)
{
    ScrollSteps steps;
    steps.maximum = std::max(0, RoundToInt(canvasHeight - frameHeight));
    if (steps.maximum > 0) {
        // A short palette would get steps of 0, and a bar that never moves.
        steps.largeStep = std::max(1, RoundToInt(steps.maximum / 5.0));
        steps.smallStep = std::max(1, RoundToInt(steps.maximum / 20.0));
    }
    return steps;
}

} // namespace halvorn
