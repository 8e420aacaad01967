// Painting a tile folder's palette: the thumbnails on their canvas, and the
// entries that made it there.
#pragma once

#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

namespace halvorn {

// A library picture decoded for a thumbnail only; it is not put into the
// imaging table, which never frees. Null when the file cannot be read or is
// over the decode limit.
QImage ReadThumbnailPicture(const QString& path);

struct PaletteImage {
    QImage canvas;     // PaletteCanvasWidth × canvas height
    QStringList paths; // the entries shown, cell i showing paths[i]
};

// Thumbnails of `candidates` in order on a `background` canvas. Unreadable
// pictures are left out and take no cell, so one bad file cannot hide the
// good ones after it; the list stops where the canvas would grow too tall.
PaletteImage RenderPalette(TileKind kind, const QStringList& candidates, QColor background);

} // namespace halvorn
