// A cheap look at a PNG file's chunk headers before any decoder sees it. A
// damaged or hostile file can declare a chunk of a gigabyte in a few dozen
// bytes, and the decoder reserves that memory before it finds the lie; here
// such a file costs one pass over its chunk headers.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace halvorn {

// Ancillary chunks (text, palettes suggestions, colour profiles, metadata)
// larger than this are refused. The decoder's own library uses the same
// bound by default; no picture needs more to be drawn.
inline constexpr uint32_t AncillaryChunkLimit = 8'000'000;

// True when the bytes are not a PNG (the decoder decides on those), or when
// every chunk from the header to the end chunk fits in the bytes that follow
// it, has a well-formed type, and an ancillary one stays within the limit.
bool PngChunksPlausible(QByteArrayView bytes);
// The same for a file; false when it cannot be read.
bool PngFileChunksPlausible(const QString& path);

} // namespace halvorn
