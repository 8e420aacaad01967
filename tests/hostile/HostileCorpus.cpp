#include "HostileCorpus.h"

#include "imaging/FileNames.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <utility>

namespace hostile {

namespace {

QByteArray RawPath(const QString& folder, const QByteArray& name)
{
    return QFile::encodeName(folder) + '/' + name;
}

bool WriteRaw(const QString& folder, const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray path = RawPath(folder, name);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const ssize_t written =
        bytes.isEmpty() ? 0 : ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
    ::close(fd);
    return written == bytes.size();
}

class Writer {
public:
    Writer(QString folder, std::vector<CorpusFile>& out) : folder_(std::move(folder)), out_(out) {}

    void File(const QByteArray& name, const QString& kind, Expect expect, const QByteArray& bytes,
              const QImage& expected = {})
    {
        if (WriteRaw(folder_, name, bytes))
            out_.push_back({name, kind, expect, expected});
    }
    void Entry(const QByteArray& name, const QString& kind, Expect expect, bool made)
    {
        if (made)
            out_.push_back({name, kind, expect, {}});
    }
    QByteArray Raw(const QByteArray& name) const { return RawPath(folder_, name); }

private:
    QString folder_;
    std::vector<CorpusFile>& out_;
};

// A gigabyte-sized declaration after a real header, as in libpng's own
// crashers: the decoder believes the length and reserves it.
QByteArray HugeChunkFile(const QByteArray& type, uint32_t declared)
{
    QByteArray file = PngSignature();
    file += ChunkBytes({"IHDR", IhdrData(1, 1, 8, PngColour::Rgba, false)});
    char length[4];
    qToBigEndian(declared, length);
    file.append(length, 4);
    file += type;
    file += QByteArray(16, 'x'); // a little of the promised data, then nothing
    return file;
}

QByteArray Jpeg(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPEG", 90);
    return bytes;
}

} // namespace

std::vector<ValidPicture> ValidLayouts()
{
    std::vector<ValidPicture> v;
    const struct {
        const char* name;
        PngColour colour;
        int depth;
        bool alpha;
    } kinds[] = {
        {"palette", PngColour::Palette, 8, false}, {"palette_alpha", PngColour::Palette, 8, true},
        {"grey", PngColour::Grey, 8, false},       {"grey_alpha", PngColour::GreyAlpha, 8, true},
        {"grey16", PngColour::Grey, 16, false},    {"grey16_alpha", PngColour::GreyAlpha, 16, true},
        {"rgb", PngColour::Rgb, 8, false},         {"rgba", PngColour::Rgba, 8, true},
        {"rgb16", PngColour::Rgb, 16, false},      {"rgba16", PngColour::Rgba, 16, true},
    };
    for (const auto& k : kinds) {
        for (const bool interlaced : {false, true}) {
            v.push_back({QStringLiteral("valid_%1%2.png")
                             .arg(QLatin1String(k.name),
                                  interlaced ? QStringLiteral("_interlaced") : QString()),
                         PngLayout{k.colour, k.depth, interlaced}, k.alpha});
        }
    }
    return v;
}

QImage SourcePicture(int width, int height, bool alpha, uint32_t variant)
{
    // Four quarters of different colours plus a diagonal, so a turned,
    // shifted or de-interlaced wrongly picture shows; with alpha one quarter
    // is half transparent and one fully.
    QImage picture(width, height, QImage::Format_ARGB32);
    const QRgb colours[4] = {qRgb(200, 40 + variant % 50, 30), qRgb(20, 180, 60 + variant % 70),
                             qRgb(40, 60, 220), qRgb(240, 230, 20)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int q = (x * 2 >= width ? 1 : 0) + (y * 2 >= height ? 2 : 0);
            QRgb c = x == y ? qRgb(0, 0, 0) : colours[q];
            if (alpha && q == 1)
                c = qRgba(qRed(c), qGreen(c), qBlue(c), 128);
            if (alpha && q == 2)
                c = qRgba(0, 0, 0, 0);
            picture.setPixel(x, y, c);
        }
    }
    return picture;
}

QImage ExpectedPixels(const QImage& source, const PngLayout& layout, bool alpha)
{
    QImage expected = source.convertToFormat(QImage::Format_ARGB32);
    const bool grey = layout.colour == PngColour::Grey || layout.colour == PngColour::GreyAlpha;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            QRgb c = expected.pixel(x, y);
            const int a = alpha ? qAlpha(c) : 255;
            if (grey)
                c = qRgb(qGray(c), qGray(c), qGray(c));
            expected.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), a));
        }
    }
    return expected;
}

std::vector<CorpusFile> WriteCrashers(const QString& folder)
{
    std::vector<CorpusFile> out;
    Writer w(folder, out);
    for (const char* type : {"sPLT", "iTXt", "zTXt", "tEXt", "iCCP"}) {
        w.File(QByteArray("huge_") + type + "_chunk.png", QStringLiteral("crasher"), Expect::Bad,
               HugeChunkFile(type, 0x40000000u));
    }
    // The largest length the format allows, and one above it.
    w.File("huge_sPLT_2g.png", QStringLiteral("crasher"), Expect::Bad,
           HugeChunkFile("sPLT", 0x7fffffffu));
    w.File("huge_IDAT_chunk.png", QStringLiteral("crasher"), Expect::Bad,
           HugeChunkFile("IDAT", 0x40000000u));
    w.File("length_over_format_limit.png", QStringLiteral("crasher"), Expect::Bad,
           HugeChunkFile("tEXt", 0xfffffff0u));
    return out;
}

std::vector<CorpusFile> WriteCorpus(const QString& folder, const CorpusOptions& options)
{
    std::vector<CorpusFile> out;
    Writer w(folder, out);
    std::mt19937 random(options.seed);

    // Valid pictures in every layout, of a few sizes, all to be listed.
    std::vector<QByteArray> bases;
    const std::vector<ValidPicture> layouts = ValidLayouts();
    for (size_t i = 0; i < layouts.size(); ++i) {
        const ValidPicture& v = layouts[i];
        const int width = 13 + static_cast<int>(i % 5) * 7;
        const int height = 9 + static_cast<int>(i % 3) * 11;
        const QImage source = SourcePicture(width, height, v.alpha, static_cast<uint32_t>(i));
        const QByteArray bytes = EncodePng(source, v.layout);
        bases.push_back(bytes);
        w.File(v.name.toUtf8(), QStringLiteral("valid"), Expect::Valid, bytes,
               ExpectedPixels(source, v.layout, v.alpha));
    }
    const QImage plainSource = SourcePicture(20, 14, true, 99);
    const PngLayout rgba{PngColour::Rgba, 8, false};
    const std::vector<PngChunk> plain = EncodeChunks(plainSource, rgba);
    const QImage plainExpected = ExpectedPixels(plainSource, rgba, true);
    const auto variant = [&](const char* name, const QString& kind, Expect expect,
                             const std::vector<PngChunk>& chunks) {
        w.File(name, kind, expect, FileBytes(chunks),
               expect == Expect::Valid ? plainExpected : QImage());
    };

    // One exact fault each.
    {
        std::vector<PngChunk> c = plain;
        c[0].goodCrc = false;
        variant("crc_ihdr.png", QStringLiteral("crc"), Expect::Bad, c);
        c = plain;
        c[1].goodCrc = false;
        variant("crc_idat.png", QStringLiteral("crc"), Expect::Bad, c);
        c = plain;
        c[2].goodCrc = false;
        variant("crc_iend.png", QStringLiteral("crc"), Expect::Either, c);

        c = plain;
        std::swap(c[0], c[1]);
        variant("order_idat_first.png", QStringLiteral("order"), Expect::Bad, c);
        c = plain;
        std::swap(c[1], c[2]);
        variant("order_iend_first.png", QStringLiteral("order"), Expect::Bad, c);
        c = plain;
        c.insert(c.begin() + 1, c[0]);
        variant("order_two_ihdr.png", QStringLiteral("order"), Expect::Bad, c);
        c = plain;
        c.erase(c.begin() + 1);
        variant("order_no_idat.png", QStringLiteral("order"), Expect::Bad, c);
        c = plain;
        c.pop_back();
        variant("order_no_iend.png", QStringLiteral("order"), Expect::Either, c);
        c = plain;
        c.insert(c.begin() + 1, PngChunk{"ABCD", "critical but unknown"});
        variant("unknown_critical_chunk.png", QStringLiteral("order"), Expect::Bad, c);
        c = plain;
        c.insert(c.begin() + 1, PngChunk{"abCd", "ancillary and unknown"});
        variant("unknown_ancillary_chunk.png", QStringLiteral("valid"), Expect::Valid, c);
        c = plain;
        c.insert(c.begin() + 1, PngChunk{"tEXt", QByteArray("Comment\0a tile", 14)});
        variant("text_chunk.png", QStringLiteral("valid"), Expect::Valid, c);
        // The same data split into one-byte IDAT chunks is still one picture.
        c = {plain[0]};
        for (const char b : plain[1].data)
            c.push_back({"IDAT", QByteArray(1, b)});
        c.push_back(plain[2]);
        variant("idat_bytewise.png", QStringLiteral("valid"), Expect::Valid, c);

        // Palette pictures: the palette after the data, or missing.
        std::vector<PngChunk> pal = EncodeChunks(plainSource, {PngColour::Palette, 8, false});
        std::vector<PngChunk> p = pal;
        std::rotate(p.begin() + 1, p.begin() + 2, p.end() - 1); // PLTE moves behind the data
        w.File("order_plte_after_idat.png", QStringLiteral("order"), Expect::Bad, FileBytes(p));
        p = pal;
        p.erase(p.begin() + 1);
        w.File("palette_missing.png", QStringLiteral("order"), Expect::Bad, FileBytes(p));
    }

    // Declared sizes no tile has.
    const struct {
        const char* name;
        uint32_t width, height;
    } sizes[] = {{"size_65535x65535.png", 65535, 65535},
                 {"size_zero_width.png", 0, 14},
                 {"size_zero_height.png", 20, 0},
                 {"size_2g_wide.png", 0x80000000u, 1},
                 {"size_1x1000000.png", 1, 1000000}};
    for (const auto& s : sizes) {
        std::vector<PngChunk> c = plain;
        c[0].data = IhdrData(s.width, s.height, 8, PngColour::Rgba, false);
        w.File(s.name, QStringLiteral("size"), Expect::Bad, FileBytes(c));
    }

    // Not PNG at all.
    w.File("zero_bytes.png", QStringLiteral("empty"), Expect::Bad, {});
    w.File("text.png", QStringLiteral("text"), Expect::Bad,
           "This is not a picture.\nIt only has a picture's name.\n");
    w.File("signature_only.png", QStringLiteral("truncated"), Expect::Bad, PngSignature());
    // The loaders decide by content, so a JPEG under a PNG name is a picture.
    w.File("jpeg_named.png", QStringLiteral("jpeg"), Expect::Either, Jpeg(plainSource));

    for (const CorpusFile& c : WriteCrashers(folder))
        out.push_back(c);

    // Cut short at every length (or every n-th) of three bases.
    for (const size_t b : {size_t(1), size_t(9), size_t(15)}) {
        const QByteArray& base = bases[b % bases.size()];
        const std::vector<PngChunk> chunks = ParseChunks(base);
        // Cut before the end of the last IDAT the picture cannot be whole.
        qsizetype dataEnd = 8;
        for (const PngChunk& c : chunks) {
            dataEnd += 12 + c.data.size();
            if (c.type == "IEND")
                dataEnd -= 12;
        }
        for (qsizetype len = 1; len < base.size(); len += options.truncationStep) {
            w.File(QStringLiteral("truncated_%1_%2.png").arg(b).arg(len).toUtf8(),
                   QStringLiteral("truncated"), len < dataEnd - 4 ? Expect::Bad : Expect::Either,
                   base.left(len));
        }
    }

    // Mutants from seeded flips: bits, bytes, and changes inside one chunk
    // with its CRC made right again, which reach the decoder itself.
    for (int m = 0; m < options.mutants; ++m) {
        const size_t b = random() % bases.size();
        QByteArray bytes = bases[b];
        QString kind;
        switch (m % 4) {
        case 0: {
            kind = QStringLiteral("bitflip");
            const int flips = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < flips; ++i) {
                const auto at =
                    static_cast<qsizetype>(random() % static_cast<uint32_t>(bytes.size()));
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
            }
            break;
        }
        case 1: {
            kind = QStringLiteral("byteflip");
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) {
                const auto at =
                    static_cast<qsizetype>(random() % static_cast<uint32_t>(bytes.size()));
                bytes[at] = static_cast<char>(random() % 256);
            }
            break;
        }
        default: {
            kind = m % 4 == 2 ? QStringLiteral("chunkflip") : QStringLiteral("headerflip");
            std::vector<PngChunk> chunks = ParseChunks(bytes);
            // Headers are small and decide everything; half of these hit them.
            const size_t which = m % 4 == 3 ? 0 : random() % chunks.size();
            PngChunk& c = chunks[which];
            if (c.data.isEmpty()) {
                c.data = QByteArray(1 + static_cast<int>(random() % 8),
                                    static_cast<char>(random() % 256));
            } else {
                const int flips = 1 + static_cast<int>(random() % 3);
                for (int i = 0; i < flips; ++i) {
                    const auto at =
                        static_cast<qsizetype>(random() % static_cast<uint32_t>(c.data.size()));
                    c.data[at] = static_cast<char>(random() % 256);
                }
            }
            bytes = FileBytes(chunks);
            break;
        }
        }
        w.File(
            QStringLiteral("mutant_%1_%2.png").arg(m, 4, 10, QLatin1Char('0')).arg(kind).toUtf8(),
            kind, Expect::Either, bytes);
    }

    if (options.specials) {
        w.Entry("folder.png", QStringLiteral("folder"), Expect::Bad,
                ::mkdir(w.Raw("folder.png"), 0755) == 0);
        w.Entry("dangling_link.png", QStringLiteral("dangling"), Expect::Bad,
                ::symlink("no-such-file.png", w.Raw("dangling_link.png")) == 0);
        w.Entry("link_to_valid.png", QStringLiteral("link"), Expect::Valid,
                ::symlink(layouts[0].name.toUtf8().constData(), w.Raw("link_to_valid.png")) == 0);
        if (!out.empty() && out.back().kind == QLatin1String("link"))
            out.back().expected = out.front().expected;
        w.Entry("named_pipe.png", QStringLiteral("fifo"), Expect::Bad,
                ::mkfifo(w.Raw("named_pipe.png"), 0644) == 0);
        // The longest name a Linux file system takes: 255 bytes.
        QByteArray longName(251, 'L');
        w.File(longName + ".png", QStringLiteral("longname"), Expect::Valid, bases[7],
               out[7].expected);
        // Bytes that are not UTF-8: listed and opened by those bytes.
        w.File(QByteArray("latin1_\xe9t\xe9_\xff.png"), QStringLiteral("nonutf8"), Expect::Valid,
               bases[0], out[0].expected);
        w.File(QByteArray("UPPER_CASE_VALID.PNG"), QStringLiteral("valid"), Expect::Valid, bases[2],
               out[2].expected);
        // A picture under another name is never listed, though it loads by path.
        w.File("not_a_png.txt", QStringLiteral("other"), Expect::Either, bases[0]);
    }
    return out;
}

QString PathOf(const QString& folder, const QByteArray& name)
{
    // Spelt as the listing spells it, so each byte outside UTF-8 survives.
    return halvorn::DecodeFileName(RawPath(folder, name));
}

void EmptyFolder(const QString& folder)
{
    const QByteArray root = QFile::encodeName(folder);
    // Depth first and without following links, so the links go, not their targets.
    nftw(
        root.constData(),
        [](const char* path, const struct stat*, int type, struct FTW* at) {
            if (at->level == 0)
                return 0;
            return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
        },
        16, FTW_DEPTH | FTW_PHYS);
}

} // namespace hostile
