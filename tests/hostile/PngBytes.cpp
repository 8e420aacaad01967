#include "PngBytes.h"

#include <QtEndian>

#include <zlib.h>

#include <map>

namespace hostile {

namespace {

void PutBig32(QByteArray& out, uint32_t v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

// Adam7: start column, start row, column step, row step of each pass.
constexpr int Adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

} // namespace

QByteArray PngSignature()
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8);
}

QByteArray ChunkBytes(const PngChunk& chunk)
{
    QByteArray out;
    PutBig32(out, static_cast<uint32_t>(chunk.data.size()));
    out += chunk.type + chunk.data;
    const QByteArray crcd = chunk.type + chunk.data;
    const auto crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(crcd.constData()), static_cast<uInt>(crcd.size())));
    PutBig32(out, chunk.goodCrc ? crc : crc ^ 0x5a5a5a5au);
    return out;
}

QByteArray FileBytes(const std::vector<PngChunk>& chunks)
{
    QByteArray out = PngSignature();
    for (const PngChunk& c : chunks)
        out += ChunkBytes(c);
    return out;
}

QByteArray IhdrData(uint32_t width, uint32_t height, int bitDepth, PngColour colour,
                    bool interlaced)
{
    QByteArray d;
    PutBig32(d, width);
    PutBig32(d, height);
    // Depth, colour type, deflate, adaptive filtering, interlacing.
    for (const int b : {bitDepth, static_cast<int>(colour), 0, 0, interlaced ? 1 : 0})
        d.append(static_cast<char>(b));
    return d;
}

std::vector<PngChunk> EncodeChunks(const QImage& source, const PngLayout& layout)
{
    const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    const PngColour colour = layout.colour;
    const int depth = colour == PngColour::Palette ? 8 : layout.bitDepth;
    std::vector<PngChunk> chunks{{"IHDR", IhdrData(static_cast<uint32_t>(picture.width()),
                                                   static_cast<uint32_t>(picture.height()), depth,
                                                   colour, layout.interlaced)}};
    std::map<QRgb, int> paletteIndex;
    if (colour == PngColour::Palette) {
        QByteArray plte, trns;
        bool anyAlpha = false;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb c = picture.pixel(x, y);
                if (paletteIndex.emplace(c, static_cast<int>(paletteIndex.size())).second) {
                    for (const int v : {qRed(c), qGreen(c), qBlue(c)})
                        plte += char(v);
                    trns += char(qAlpha(c));
                    anyAlpha = anyAlpha || qAlpha(c) != 255;
                }
            }
        chunks.push_back({"PLTE", plte});
        if (anyAlpha)
            chunks.push_back({"tRNS", trns});
    }
    const bool grey = colour == PngColour::Grey || colour == PngColour::GreyAlpha;
    const bool alpha = colour == PngColour::GreyAlpha || colour == PngColour::Rgba;
    QByteArray raw;
    const auto addRows = [&](int x0, int y0, int dx, int dy) {
        if (x0 >= picture.width() || y0 >= picture.height())
            return;
        for (int y = y0; y < picture.height(); y += dy) {
            raw += '\0'; // filter: none
            for (int x = x0; x < picture.width(); x += dx) {
                const QRgb c = picture.pixel(x, y);
                if (colour == PngColour::Palette) {
                    raw += char(paletteIndex.at(c));
                    continue;
                }
                std::vector<int> samples = grey ? std::vector<int>{qGray(c)}
                                                : std::vector<int>{qRed(c), qGreen(c), qBlue(c)};
                if (alpha)
                    samples.push_back(qAlpha(c));
                // 16-bit samples carry a low byte that differs from the high
                // one, so a reader that drops it is still right to 8 bits.
                for (const int s : samples) {
                    raw += char(s);
                    if (depth == 16)
                        raw += char(0x40);
                }
            }
        }
    };
    if (layout.interlaced) {
        for (const auto& pass : Adam7)
            addRows(pass[0], pass[1], pass[2], pass[3]);
    } else {
        addRows(0, 0, 1, 1);
    }
    // qCompress puts the uncompressed length in front of the zlib stream.
    chunks.push_back({"IDAT", qCompress(raw, 9).mid(4)});
    chunks.push_back({"IEND", {}});
    return chunks;
}

QByteArray EncodePng(const QImage& picture, const PngLayout& layout)
{
    return FileBytes(EncodeChunks(picture, layout));
}

} // namespace hostile
