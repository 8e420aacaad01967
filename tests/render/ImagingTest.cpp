#include "imaging/Imaging.h"
#include "imaging/AppError.h"
#include "imaging/PngChunkCheck.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

using namespace halvorn;

TEST(Imaging, CheckStatusRaisesTheNamedError)
{
    EXPECT_NO_THROW(CheckStatus(0));
    // clang-format off
    const std::pair<int, const char*> rows[] = {
        {2, "Invalid Parameter: Status = 2"}, {10, "File Not Found: Status = 10"}, {20, "Property Not Supported: Status = 20"},
        {21, "Unknown: Status = 21"}, {-1, "Unknown: Status = -1"},
    };
    // clang-format on
    for (const auto& [status, description] : rows) {
        SCOPED_TRACE(status);
        try {
            CheckStatus(status);
            ADD_FAILURE();
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number(), -2147221504);
            EXPECT_EQ(e.Source(), QStringLiteral("GDI+"));
            EXPECT_EQ(e.Description(), QString::fromLatin1(description));
        }
    }
}

TEST(Imaging, StartsOnceAndFindsEncodersInAnyCase)
{
    ShutdownGdip();
    ShutdownGdip();
    EXPECT_TRUE(InitGdip());
    EXPECT_FALSE(InitGdip());
    EXPECT_EQ(GetEncoderClsid(QStringLiteral("IMAGE/PNG")),
              GetEncoderClsid(QStringLiteral("image/png")));
    EXPECT_FALSE(GetEncoderClsid(QStringLiteral("image/png")).IsNull());
    EXPECT_FALSE(GetEncoderClsid(QStringLiteral("image/jpeg")).IsNull());
    EXPECT_TRUE(GetEncoderClsid(QStringLiteral("image/x-nothing")).IsNull());
}

TEST(Imaging, OrientationCodesTurnAndMirror)
{
    // A 2 x 1 picture: red on the left, blue on the right.
    QImage src(2, 1, QImage::Format_ARGB32);
    src.setPixel(0, 0, qRgb(255, 0, 0));
    src.setPixel(1, 0, qRgb(0, 0, 255));
    const QRgb R = qRgb(255, 0, 0), B = qRgb(0, 0, 255);
    // Expected first pixel (top-left) and size for each code.
    // clang-format off
    const struct { int code; QSize size; QRgb topLeft; } rows[] = {
        {0, {2, 1}, R}, {1, {1, 2}, R}, {2, {2, 1}, B}, {3, {1, 2}, B}, {4, {2, 1}, B}, {5, {1, 2}, R}, {6, {2, 1}, R}, {7, {1, 2}, B},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.code);
        const QImage out = ApplyOrientation(src, r.code).convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(out.size(), r.size);
        EXPECT_EQ(out.pixel(0, 0), r.topLeft);
    }
}

// Saving itself is driven through the export dialog (ExportMapTest).
TEST(Imaging, SaveWithoutAnEncoderIsAnInvalidParameter)
{
    QTemporaryDir dir;
    EXPECT_EQ(GdipSaveImageToFile(testsupport::SolidImage(4, 4, Qt::green),
                                  dir.filePath(QStringLiteral("out.png")), Clsid{}),
              2);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.png"))));
}

namespace {

// One chunk: length, type, data, and a checksum the walk does not read.
QByteArray Chunk(const char* type, const QByteArray& data, uint32_t declared)
{
    QByteArray c;
    for (int k = 3; k >= 0; --k)
        c.append(static_cast<char>(declared >> (8 * k)));
    return c + QByteArray(type, 4) + data + QByteArray(4, '\0');
}

QByteArray Chunk(const char* type, const QByteArray& data)
{
    return Chunk(type, data, static_cast<uint32_t>(data.size()));
}

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

} // namespace

TEST(Imaging, ChunkWalkRefusesWhatTheFileCannotHold)
{
    const QByteArray ihdr = Chunk("IHDR", QByteArray(13, '\1'));
    const QByteArray end = Chunk("IEND", {});
    const QByteArray limit(AncillaryChunkLimit, 'x');
    const QByteArray head = PngSignature + ihdr;
    // clang-format off
    const struct { const char* name; QByteArray bytes; bool plausible; } rows[] = {
        {"not a png at all", "GIF89a........", true}, {"empty", {}, true}, {"header and end", head + end, true},
        {"ancillary at the limit", head + Chunk("tEXt", limit) + end, true},
        {"ancillary one byte over", head + Chunk("tEXt", limit + "x") + end, false},
        {"critical over the ancillary limit", head + Chunk("IDAT", limit + "x") + end, true},
        {"sPLT declaring a gigabyte", head + Chunk("sPLT", "ab", 1u << 30) + end, false},
        {"IDAT declaring more than follows", head + Chunk("IDAT", "ab", 40) + end, false},
        {"length over 2^31", head + Chunk("IDAT", "ab", 0xFFFFFFF0u) + end, false},
        {"type not letters", head + Chunk("ID\x01T", "ab") + end, false}, {"no end chunk", head, false},
        {"cut inside a header", head + end.left(5), false}, {"signature only", PngSignature, false},
    };
    // clang-format on
    for (const auto& r : rows)
        EXPECT_EQ(PngChunksPlausible(r.bytes), r.plausible) << r.name;
}

TEST(Imaging, HostileChunkIsRefusedByLoadAndThumbnail)
{
    InitGdip();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge_sPLT_chunk.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(PngSignature + Chunk("IHDR", QByteArray("\0\0\0\1\0\0\0\1\x08\x06\0\0\0", 13)) +
               Chunk("sPLT", "pal\0", 0x40000000u));
    file.close();
    ImageHandle h = 7;
    EXPECT_EQ(GdipLoadImageFromFile(path, &h), UnknownImageFormat);
    EXPECT_EQ(h, 0u);
    int32_t status = Ok;
    EXPECT_TRUE(DecodePicture(path, &status).isNull());
    EXPECT_EQ(status, UnknownImageFormat);
}

TEST(Imaging, ReloadsShareOnePictureAndKeepNoMoreTurnedCopies)
{
    InitGdip();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(testsupport::WritePng(path, 1024, 1024, QColor(10, 20, 30, 128)));
    const ImageHandle first = LoadImageFromFile(path);
    // Every press of a brush button loads the picture again.
    // Once each turn is made, further presses keep no more copies.
    ImageHandle last = first;
    std::size_t kept = 0;
    for (int press = 0; press < 200; ++press) {
        last = LoadImageFromFile(path);
        EXPECT_FALSE(OrientedImage(last, static_cast<Orientation>(press % 8)).isNull());
        if (press == 7)
            kept = OrientedCacheBytes();
        if (press > 7) {
            ASSERT_EQ(OrientedCacheBytes(), kept) << press;
        }
    }
    EXPECT_GT(last, first);
    EXPECT_EQ(ImageOf(first).constBits(), ImageOf(last).constBits());
    EXPECT_EQ(OrientedImage(first, 5).constBits(), OrientedImage(last, 5).constBits());

    // A file changed since is decoded anew.
    ASSERT_TRUE(testsupport::WritePng(path, 8, 4, Qt::red));
    const ImageHandle changed = LoadImageFromFile(path);
    EXPECT_EQ(ImageWidth(changed), 8);
    EXPECT_EQ(ImageWidth(last), 1024);
}

// A large picture decoded for one smooth draw holds only the rows that draw
// reads, and draws exactly as the whole picture; what cannot be decoded so
// is decoded whole, and a damaged file fares as it does decoded whole.
TEST(Imaging, LargePicturesDecodedForTheirDrawDrawAsTheWholePicture)
{
    InitGdip();
    QTemporaryDir dir;
    struct Row {
        const char* name;
        int w, h;
        QImage::Format format;
        QSize drawn;
        bool partly;
        enum { Plain, Damaged, Gamma } file = Plain; // Damaged: a byte of the pixels changed
    };
    using F = QImage::Format;
    // clang-format off
    const Row rows[] = {
        {"RGBA art to a cell", 2400, 2400, F::Format_ARGB32, {36, 36}, true},
        {"RGB, tall, to a fitted box", 400, 2800, F::Format_RGB32, {5, 36}, true},
        {"RGBA, wide, to a fitted box", 2800, 400, F::Format_ARGB32, {36, 5}, true},
        {"the smallest decoded so", 1024, 1024, F::Format_ARGB32, {36, 36}, true},
        {"a row fewer: whole", 1024, 1023, F::Format_ARGB32, {36, 36}, false},
        {"drawn at almost its own size", 1100, 1000, F::Format_ARGB32, {990, 900}, false},
        {"palette colours: whole", 1100, 1000, F::Format_Indexed8, {36, 36}, false},
        {"grey: whole", 1100, 1000, F::Format_Grayscale8, {36, 36}, false},
        {"16 bits a sample: whole", 1100, 1100, F::Format_RGBA64, {36, 36}, false},
        {"damaged inside", 1024, 1024, F::Format_ARGB32, {36, 36}, false, Row::Damaged},
        {"with a gamma chunk", 1024, 1024, F::Format_ARGB32, {36, 36}, true, Row::Gamma},
    };
    // clang-format on
    const auto draw = [](const QImage& picture, QSize drawn) {
        QImage out(drawn, QImage::Format_ARGB32_Premultiplied);
        out.fill(QColor(40, 50, 60));
        QPainter painter(&out);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), drawn), picture);
        return out;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QString::fromLatin1(row.name) + QStringLiteral(".png"));
        const QImage source = testsupport::Picture(row.w, row.h, 3, testsupport::Alpha::Translucent,
                                                   row.format != F::Format_Indexed8)
                                  .convertToFormat(row.format);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && source.save(&buffer, "PNG"));
        if (row.file == Row::Gamma) { // a gamma of 1.0, after the 33 bytes of signature and IHDR
            const QByteArray gama = QByteArray("gAMA") + QByteArray("\0\x01\x86\xa0", 4);
            const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(gama.constData()), 8);
            bytes.insert(33, QByteArray("\0\0\0\x04", 4) + gama + QByteArray(1, char(crc >> 24)) +
                                 char(crc >> 16) + char(crc >> 8) + char(crc));
        }
        if (row.file == Row::Damaged)
            bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x55);
        ASSERT_TRUE(testsupport::WriteBytes(path, bytes));

        int32_t wholeStatus = -1, partStatus = -1;
        const QImage whole = DecodePicture(path, &wholeStatus);
        const QImage part = DecodePicture(path, &partStatus, [&](QSize size) {
            return size == QSize(row.w, row.h) ? row.drawn.height() : -1;
        });
        EXPECT_EQ(partStatus, wholeStatus);
        ASSERT_EQ(part.isNull(), whole.isNull());
        if (whole.isNull())
            continue;
        EXPECT_TRUE(draw(part, row.drawn) == draw(whole, row.drawn));
        EXPECT_EQ(whole.colorSpace().isValid(), row.file == Row::Gamma); // the chunk was read
        int emptyRows = 0;
        for (int y = 0; y < part.height(); ++y) {
            const uchar* line = part.constScanLine(y);
            emptyRows +=
                std::all_of(line, line + part.bytesPerLine(), [](uchar b) { return b == 0; });
        }
        EXPECT_EQ(emptyRows > part.height() / 2, row.partly) << emptyRows;
    }
}
