// A small PNG writer with control over every chunk, so tests can build the
// files real programs meet: every colour type, 16-bit samples, interlacing,
// and files that are wrong in one exact way.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

namespace hostile {

enum class PngColour { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

struct PngLayout {
    PngColour colour = PngColour::Rgba;
    int bitDepth = 8; // 8 or 16; palettes are always 8
    bool interlaced = false;
};

struct PngChunk {
    QByteArray type; // four letters
    QByteArray data;
    bool goodCrc = true;
};

QByteArray PngSignature();
// Length, type, data and CRC (a wrong one when asked).
QByteArray ChunkBytes(const PngChunk& chunk);
QByteArray FileBytes(const std::vector<PngChunk>& chunks);

// The chunks of `picture` in the given layout (IHDR, PLTE and tRNS when
// needed, one IDAT, IEND). A palette layout needs at most 256 colours.
std::vector<PngChunk> EncodeChunks(const QImage& picture, const PngLayout& layout);
QByteArray EncodePng(const QImage& picture, const PngLayout& layout);

// An IHDR chunk body for any declared size and format.
QByteArray IhdrData(uint32_t width, uint32_t height, int bitDepth, PngColour colour,
                    bool interlaced);

} // namespace hostile
