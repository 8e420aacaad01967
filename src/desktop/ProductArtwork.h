// The product picture shown by the splash screen and the About box: a torn
// dungeon map pinned to a torch-lit stone wall, with the product title.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

namespace halvorn {

// The size the splash and the About box show the picture at.
inline constexpr QSize ProductArtworkSize{480, 320};

// Paints the picture into `target`, keeping its 3:2 proportions; the margins
// left over are filled with the wall colour. Draws text, so a QGuiApplication
// must exist.
void PaintProductArtwork(QPainter& painter, const QRectF& target);

// The picture as an opaque image of `size`; a null image for an empty size.
QImage ProductArtwork(QSize size = ProductArtworkSize);

} // namespace halvorn
