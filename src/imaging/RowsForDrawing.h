// A large picture decoded for one smooth scaled draw, holding only the rows
// that draw reads. A palette thumbnail of art of 2,400 pixels reads about
// 150 of its rows; decoded whole the picture takes 23 MB for that.
#pragma once

#include <QIODevice>
#include <QImage>
#include <QSize>

namespace halvorn {

// The picture in `device` (positioned at its start) as a picture of `size`
// in `format`, the format Qt's reader gives it, in which every row that a
// smooth draw (QPainter::SmoothPixmapTransform, no rotation) of the whole
// picture onto `drawnHeight` rows reads holds its decoded pixels, and every
// other row reads as transparent black and takes no memory: the picture
// lives in a mapping whose untouched pages the system never backs. Drawn so,
// it gives the pixels the whole decoded picture gives.
//
// Null when this cannot do it: not a PNG, interlaced, not of eight-bit RGB
// or RGBA samples, not what `size` and `format` say, damaged anywhere, or on
// a system without such mappings. The caller then decodes the picture whole,
// and that decides whether the file is a picture at all.
QImage DecodeRowsForDrawing(QIODevice& device, QSize size, QImage::Format format, int drawnHeight);

} // namespace halvorn
