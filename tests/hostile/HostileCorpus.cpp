#include "HostileCorpus.h"

#include "imaging/FileNames.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <utility>

namespace hostile {

namespace {

using Chunks = std::vector<PngChunk>;

QByteArray RawPath(const QString& folder, const QByteArray& name)
{
    return QFile::encodeName(folder) + '/' + name;
}

bool WriteRaw(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const ssize_t written =
        bytes.isEmpty() ? 0 : ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    return written == bytes.size();
}

// A gigabyte-sized declaration after a real header, as in libpng's own
// crashers: the decoder believes the length and reserves it.
QByteArray HugeChunkFile(const QByteArray& type, uint32_t declared)
{
    QByteArray file =
        PngSignature() + ChunkBytes({"IHDR", IhdrData(1, 1, 8, PngColour::Rgba, false)});
    char length[4];
    qToBigEndian(declared, length);
    file.append(length, 4);
    return file + type + QByteArray(16, 'x'); // a little of the promised data, then nothing
}

QByteArray Jpeg(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 90);
    return bytes;
}

// What a reader must give for `source` written in `layout`.
QImage ExpectedPixels(const QImage& source, const PngLayout& layout, bool alpha)
{
    QImage expected = source.convertToFormat(QImage::Format_ARGB32);
    const bool grey = layout.colour == PngColour::Grey || layout.colour == PngColour::GreyAlpha;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb c = expected.pixel(x, y);
            const int g = qGray(c);
            expected.setPixel(x, y,
                              grey ? qRgba(g, g, g, alpha ? qAlpha(c) : 255)
                                   : qRgba(qRed(c), qGreen(c), qBlue(c), alpha ? qAlpha(c) : 255));
        }
    return expected;
}

// A few bytes of `bytes` changed at random: single bits or whole bytes.
void Flip(QByteArray& bytes, std::mt19937& random, int most, bool bits)
{
    const int flips = 1 + static_cast<int>(random() % static_cast<uint32_t>(most));
    for (int i = 0; i < flips; ++i) {
        const auto at = static_cast<qsizetype>(random() % static_cast<uint32_t>(bytes.size()));
        bytes[at] = static_cast<char>(bits ? bytes[at] ^ (1 << (random() % 8)) : random() % 256);
    }
}

} // namespace

QImage SourcePicture(int width, int height, bool alpha, uint32_t variant)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    const QRgb colours[4] = {qRgb(200, 40 + variant % 50, 30), qRgb(20, 180, 60 + variant % 70),
                             qRgb(40, 60, 220), qRgb(240, 230, 20)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int q = (x * 2 >= width ? 1 : 0) + (y * 2 >= height ? 2 : 0);
            QRgb c = x == y ? qRgb(0, 0, 0) : colours[q];
            if (alpha && q == 1)
                c = qRgba(qRed(c), qGreen(c), qBlue(c), 128);
            if (alpha && q == 2)
                c = qRgba(0, 0, 0, 0);
            picture.setPixel(x, y, c);
        }
    return picture;
}

std::vector<CorpusFile> WriteCorpus(const QString& folder, const CorpusOptions& options)
{
    std::vector<CorpusFile> out;
    const auto file = [&](const QByteArray& name, const QString& kind, Expect expect,
                          const QByteArray& bytes, const QImage& expected = {}) {
        if (WriteRaw(RawPath(folder, name), bytes))
            out.push_back({name, kind, expect, expected});
    };
    const auto entry = [&](const QByteArray& name, const QString& kind, Expect expect, bool made) {
        if (made)
            out.push_back({name, kind, expect, {}});
    };
    std::mt19937 random(options.seed);

    // Valid pictures in every layout, plain and interlaced, of a few sizes.
    // clang-format off
    const struct { const char* name; PngColour colour; int depth; bool alpha; } layouts[] = {
        {"palette", PngColour::Palette, 8, false}, {"palette_alpha", PngColour::Palette, 8, true},
        {"grey", PngColour::Grey, 8, false}, {"grey_alpha", PngColour::GreyAlpha, 8, true},
        {"grey16", PngColour::Grey, 16, false}, {"grey16_alpha", PngColour::GreyAlpha, 16, true},
        {"rgb", PngColour::Rgb, 8, false}, {"rgba", PngColour::Rgba, 8, true},
        {"rgb16", PngColour::Rgb, 16, false}, {"rgba16", PngColour::Rgba, 16, true},
    };
    // clang-format on
    std::vector<Chunks> bases;
    for (const auto& l : layouts)
        for (const bool interlaced : {false, true}) {
            const int i = static_cast<int>(bases.size());
            const PngLayout layout{l.colour, l.depth, interlaced};
            const QImage source =
                SourcePicture(13 + i % 5 * 7, 9 + i % 3 * 11, l.alpha, static_cast<uint32_t>(i));
            bases.push_back(EncodeChunks(source, layout));
            file(QByteArray("valid_") + l.name + (interlaced ? "_interlaced.png" : ".png"),
                 QStringLiteral("valid"), Expect::Valid, FileBytes(bases.back()),
                 ExpectedPixels(source, layout, l.alpha));
        }

    // One exact fault each, in a plain and a palette picture; declared sizes
    // no tile has; files that are no PNG; libpng's crashers.
    const QImage plainSource = SourcePicture(20, 14, true, 99);
    const PngLayout rgba{PngColour::Rgba, 8, false};
    const Chunks plain = EncodeChunks(plainSource, rgba);
    const Chunks palette = EncodeChunks(plainSource, {PngColour::Palette, 8, false});
    const auto changed = [](Chunks c, const std::function<void(Chunks&)>& change) {
        change(c);
        return FileBytes(c);
    };
    const auto sized = [&](uint32_t w, uint32_t h) {
        return changed(plain,
                       [&](Chunks& c) { c[0].data = IhdrData(w, h, 8, PngColour::Rgba, false); });
    };
    Chunks bytewise{plain[0]}; // the same data in one-byte IDAT chunks is still one picture
    for (const char b : plain[1].data)
        bytewise.push_back({"IDAT", QByteArray(1, b)});
    bytewise.push_back(plain[2]);
    using E = Expect;
    // clang-format off
    const struct { const char* name; const char* kind; Expect expect; QByteArray bytes; } exact[] = {
        {"crc_ihdr.png", "crc", E::Bad, changed(plain, [](Chunks& c) { c[0].goodCrc = false; })},
        {"crc_idat.png", "crc", E::Bad, changed(plain, [](Chunks& c) { c[1].goodCrc = false; })},
        {"crc_iend.png", "crc", E::Either, changed(plain, [](Chunks& c) { c[2].goodCrc = false; })},
        {"order_idat_first.png", "order", E::Bad, changed(plain, [](Chunks& c) { std::swap(c[0], c[1]); })},
        {"order_iend_first.png", "order", E::Bad, changed(plain, [](Chunks& c) { std::swap(c[1], c[2]); })},
        {"order_two_ihdr.png", "order", E::Bad, changed(plain, [](Chunks& c) { c.insert(c.begin() + 1, c[0]); })},
        {"order_no_idat.png", "order", E::Bad, changed(plain, [](Chunks& c) { c.erase(c.begin() + 1); })},
        {"order_no_iend.png", "order", E::Either, changed(plain, [](Chunks& c) { c.pop_back(); })},
        {"unknown_critical_chunk.png", "order", E::Bad, changed(plain, [](Chunks& c) { c.insert(c.begin() + 1, {"ABCD", "critical but unknown"}); })},
        {"unknown_ancillary_chunk.png", "valid", E::Valid, changed(plain, [](Chunks& c) { c.insert(c.begin() + 1, {"abCd", "ancillary and unknown"}); })},
        {"text_chunk.png", "valid", E::Valid, changed(plain, [](Chunks& c) { c.insert(c.begin() + 1, {"tEXt", QByteArray("Comment\0a tile", 14)}); })},
        {"idat_bytewise.png", "valid", E::Valid, FileBytes(bytewise)},
        {"order_plte_after_idat.png", "order", E::Bad, changed(palette, [](Chunks& c) { std::rotate(c.begin() + 1, c.begin() + 2, c.end() - 1); })},
        {"palette_missing.png", "order", E::Bad, changed(palette, [](Chunks& c) { c.erase(c.begin() + 1); })},
        {"size_65535x65535.png", "size", E::Bad, sized(65535, 65535)},
        {"size_zero_width.png", "size", E::Bad, sized(0, 14)},
        {"size_zero_height.png", "size", E::Bad, sized(20, 0)},
        {"size_2g_wide.png", "size", E::Bad, sized(0x80000000u, 1)},
        {"size_1x1000000.png", "size", E::Bad, sized(1, 1000000)},
        {"zero_bytes.png", "empty", E::Bad, {}},
        {"text.png", "text", E::Bad, "This is not a picture.\nIt only has a picture's name.\n"},
        {"signature_only.png", "truncated", E::Bad, PngSignature()},
        {"jpeg_named.png", "jpeg", E::Either, Jpeg(plainSource)}, // loaders decide by content
        {"huge_sPLT_chunk.png", "crasher", E::Bad, HugeChunkFile("sPLT", 0x40000000u)},
        {"huge_iTXt_chunk.png", "crasher", E::Bad, HugeChunkFile("iTXt", 0x40000000u)},
        {"huge_zTXt_chunk.png", "crasher", E::Bad, HugeChunkFile("zTXt", 0x40000000u)},
        {"huge_tEXt_chunk.png", "crasher", E::Bad, HugeChunkFile("tEXt", 0x40000000u)},
        {"huge_iCCP_chunk.png", "crasher", E::Bad, HugeChunkFile("iCCP", 0x40000000u)},
        {"huge_sPLT_2g.png", "crasher", E::Bad, HugeChunkFile("sPLT", 0x7fffffffu)}, // the format's largest
        {"huge_IDAT_chunk.png", "crasher", E::Bad, HugeChunkFile("IDAT", 0x40000000u)},
        {"length_over_format_limit.png", "crasher", E::Bad, HugeChunkFile("tEXt", 0xfffffff0u)},
    };
    // clang-format on
    const QImage plainExpected = ExpectedPixels(plainSource, rgba, true);
    for (const auto& f : exact)
        file(f.name, QLatin1String(f.kind), f.expect, f.bytes,
             f.expect == E::Valid ? plainExpected : QImage());

    // Cut short at every length (or every n-th) of three bases; cut before
    // the end of the last IDAT the picture cannot be whole.
    for (const size_t b : {size_t(1), size_t(9), size_t(15)}) {
        const QByteArray base = FileBytes(bases[b % bases.size()]);
        const qsizetype dataEnd = base.size() - 12; // IEND is empty
        for (qsizetype len = 1; len < base.size(); len += options.truncationStep)
            file(QStringLiteral("truncated_%1_%2.png").arg(b).arg(len).toUtf8(),
                 QStringLiteral("truncated"), len < dataEnd - 4 ? E::Bad : E::Either,
                 base.left(len));
    }

    // Mutants from seeded flips: bits, bytes, and changes inside one chunk
    // with its CRC made right again, which reach the decoder itself.
    const QString kinds[] = {QStringLiteral("bitflip"), QStringLiteral("byteflip"),
                             QStringLiteral("chunkflip"), QStringLiteral("headerflip")};
    for (int m = 0; m < options.mutants; ++m) {
        Chunks chunks = bases[random() % bases.size()];
        QByteArray bytes = FileBytes(chunks);
        if (m % 4 < 2) {
            Flip(bytes, random, m % 4 == 0 ? 8 : 4, m % 4 == 0);
        } else {
            // Headers are small and decide everything; half of these hit them.
            PngChunk& c = chunks[m % 4 == 3 ? 0 : random() % chunks.size()];
            if (c.data.isEmpty())
                c.data = QByteArray(1 + static_cast<int>(random() % 8),
                                    static_cast<char>(random() % 256));
            else
                Flip(c.data, random, 3, false);
            bytes = FileBytes(chunks);
        }
        file(QStringLiteral("mutant_%1_%2.png")
                 .arg(m, 4, 10, QLatin1Char('0'))
                 .arg(kinds[m % 4])
                 .toUtf8(),
             kinds[m % 4], E::Either, bytes);
    }

    if (options.specials) {
        const auto raw = [&](const char* name) { return RawPath(folder, name); };
        entry("folder.png", QStringLiteral("folder"), E::Bad,
              ::mkdir(raw("folder.png"), 0755) == 0);
        entry("dangling_link.png", QStringLiteral("dangling"), E::Bad,
              ::symlink("no-such-file.png", raw("dangling_link.png")) == 0);
        if (::symlink(out[0].name.constData(), raw("link_to_valid.png")) == 0)
            out.push_back({"link_to_valid.png", QStringLiteral("link"), E::Valid, out[0].expected});
        entry("named_pipe.png", QStringLiteral("fifo"), E::Bad,
              ::mkfifo(raw("named_pipe.png"), 0644) == 0);
        // The longest name a Linux file system takes: 255 bytes.
        file(QByteArray(251, 'L') + ".png", QStringLiteral("longname"), E::Valid,
             FileBytes(bases[7]), out[7].expected);
        // Bytes that are not UTF-8: listed and opened by those bytes.
        file("latin1_\xe9t\xe9_\xff.png", QStringLiteral("nonutf8"), E::Valid, FileBytes(bases[0]),
             out[0].expected);
        file("UPPER_CASE_VALID.PNG", QStringLiteral("valid"), E::Valid, FileBytes(bases[2]),
             out[2].expected);
        // A picture under another name is never listed, though it loads by path.
        file("not_a_png.txt", QStringLiteral("other"), E::Either, FileBytes(bases[0]));
    }
    return out;
}

QString PathOf(const QString& folder, const QByteArray& name)
{
    // Spelt as the listing spells it, so each byte outside UTF-8 survives.
    return halvorn::DecodeFileName(RawPath(folder, name));
}

CorpusDir::~CorpusDir()
{
    // Depth first and without following links, so the links go, not their targets.
    nftw(
        QFile::encodeName(path()).constData(),
        [](const char* path, const struct stat*, int type, struct FTW* at) {
            if (at->level == 0)
                return 0;
            return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
        },
        16, FTW_DEPTH | FTW_PHYS);
}

} // namespace hostile
