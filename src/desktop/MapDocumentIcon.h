// The icon of a Halvorn map document: a folded sheet with a room plan on a
// grid, used when the desktop is told about the .hvm file type.
#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace halvorn {

// Paints the icon into the square `box` (the largest square that fits).
void PaintMapDocumentIcon(QPainter& painter, const QRectF& box);

// The icon as a size x size image with a transparent background; a null
// image when size is not positive.
QImage MapDocumentIcon(int size);

} // namespace halvorn
