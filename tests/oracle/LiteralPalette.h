// The palette drawn the plain way: every picture decoded and drawn one by one
// onto one canvas as tall as all its rows, on the calling thread, nothing
// kept. The panes' thumbnails and the palette benchmark are measured against
// it.
#pragma once

#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QStringList>

namespace halvorn::oracle {

struct LiteralPaletteImage {
    QImage canvas;     // PaletteCanvasWidth × canvas height
    QStringList paths; // the entries shown, cell i showing paths[i]
};

// Thumbnails of `candidates` in order on a `background` canvas; unreadable
// pictures are left out and take no cell.
LiteralPaletteImage LiteralPalette(BrushKind kind, const QStringList& candidates,
                                   QColor background);

} // namespace halvorn::oracle
