#include "imaging/Imaging.h"

#include "imaging/AppError.h"
#include "imaging/FileIdentity.h"
#include "imaging/FileNames.h"
#include "imaging/ImageCache.h"
#include "imaging/PngChunkCheck.h"
#include "imaging/RowsForDrawing.h"
#include "storage/SafeWrite.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStringList>
#include <QTransform>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace halvorn {

namespace {

#ifdef __GLIBC__
constexpr int LargeBlockBytes = 4 << 20;
#endif

// Nonzero while the layer is started; the value itself means nothing.
uint32_t GdipToken = 0;

constexpr const char* StatusTexts =
    "Ok|Generic Error|Invalid Parameter|Out Of Memory|Object Busy|Insufficient Buffer|"
    "Not Implemented|Win32 Error|Wrong State|Aborted|File Not Found|Value Overflow|"
    "Access Denied|Unknown Image Format|Font Family Not Found|Font Style Not Found|"
    "Not TrueType Font|Unsupported GDI+ Version|GDI+ Not Initialized|Property Not Found|"
    "Property Not Supported";

// Turned copies of the pictures, by the picture's own identity so that every
// handle of one picture shares them. 1024 x 1024 pictures in all eight
// orientations fit twice.
constexpr std::size_t OrientedBudgetBytes = 64u << 20;

struct ImageTable {
    // The table is the user-interface thread's: the renderer's band workers
    // paint from pictures the redraw fetched before they start, and the
    // palette's workers only decode (DecodePicture). The lock costs nothing
    // measurable and keeps a stray call from another thread safe.
    std::mutex mutex;
    std::vector<QImage> images; // handle h lives at h - 1
    // The handle that first loaded a file as it is now; loading it again
    // gives a new handle on the same decoded picture.
    std::map<FileIdentity, ImageHandle> loaded;
    ImageCache<std::pair<qint64, Orientation>> oriented{OrientedBudgetBytes};
};

bool IsOpaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return true;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}

ImageTable& Table()
{
    static ImageTable table;
    return table;
}

} // namespace

bool InitGdip()
{
    if (GdipToken != 0)
        return false;
    QImageReader::setAllocationLimit(DecodeLimitMiB);
#ifdef __GLIBC__
    // Large pictures are decoded and freed on worker threads. glibc would
    // raise its threshold for serving blocks by mmap to the largest one
    // freed and then keep such blocks in each thread's arena after they are
    // freed: opening two art packs with pictures of 2,400 pixels peaked at
    // 134 MB resident, against 77 MB with blocks of 4 MB and more always
    // mapped and handed back at once.
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
#endif
    GdipToken = 1;
    return true;
}

void ShutdownGdip()
{
    GdipToken = 0;
}

bool GdipStarted()
{
    return GdipToken != 0;
}

QString StatusText(int32_t status)
{
    const QStringList texts = QString::fromLatin1(StatusTexts).split(u'|');
    if (status >= 0 && status < texts.size())
        return texts[status];
    return QStringLiteral("Unknown");
}

QString StatusDescription(int32_t status)
{
    return StatusText(status) + QStringLiteral(": Status = ") + QString::number(status);
}

void CheckStatus(int32_t status)
{
    if (status == Ok)
        return;
    throw AppError(vbObjectError, QStringLiteral("GDI+"), StatusDescription(status));
}

Clsid GetEncoderClsid(const QString& mimeType)
{
    const QList<QByteArray> mimes = QImageWriter::supportedMimeTypes();
    for (const QByteArray& mime : mimes) {
        if (QString::fromLatin1(mime).compare(mimeType, Qt::CaseInsensitive) != 0)
            continue;
        const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mime);
        if (!formats.isEmpty())
            return Clsid{formats.first()};
    }
    return Clsid{};
}

QString AppPath()
{
    QString path = QCoreApplication::applicationDirPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

namespace {

// Files up to this size are read once into memory and checked and decoded
// from there: one open and one read, where mapping the file for the check
// and opening it again for the decoder costs more than the decoding of a
// small tile, and each unmapping stops every other thread of the program.
constexpr qint64 ReadWholeBytes = 4 << 20;

// Pictures of this many bytes decoded and more are decoded for their draw
// alone when the caller says how they are drawn: a thousand pixels a side.
constexpr qint64 PartlyDecodedBytes = 4 << 20;

QImage DecodeFrom(QImageReader& reader, const QFileInfo& info, int32_t* status,
                  const DrawnHeight& drawnHeight)
{
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    const qint64 bytes = size.isValid() ? static_cast<qint64>(size.width()) * size.height() * 4 : 0;
    if (bytes > static_cast<qint64>(DecodeLimitMiB) * 1024 * 1024) {
        *status = OutOfMemory;
        return {};
    }
    if (drawnHeight && bytes >= PartlyDecodedBytes && reader.device()) {
        QIODevice& device = *reader.device();
        const QImage::Format format = reader.imageFormat();
        if (device.seek(0)) {
            QImage rows = DecodeRowsForDrawing(device, size, format, drawnHeight(size));
            if (!rows.isNull()) {
                *status = Ok;
                return rows;
            }
        }
        // Whole, by a reader of its own from the start: it decides, as for
        // any picture, whether the file is one.
        if (!device.seek(0)) {
            *status = Win32Error;
            return {};
        }
        QImageReader whole(&device);
        return DecodeFrom(whole, info, status, {});
    }
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        switch (reader.error()) {
        case QImageReader::FileNotFoundError:
        case QImageReader::DeviceError:
            *status = info.isReadable() ? Win32Error : FileNotFound;
            break;
        default:
            *status = UnknownImageFormat;
        }
        return {};
    }
    *status = Ok;
    return decoded;
}

#ifdef Q_OS_UNIX
// A name with bytes that are not UTF-8, which Qt's file classes cannot open:
// opened by its bytes and read whole.
QImage DecodeByBytes(const QString& path, int32_t* status, const DrawnHeight& drawnHeight)
{
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *status = errno == ENOENT ? FileNotFound : Win32Error;
        return {};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *status = Win32Error;
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *status = FileNotFound;
        return {};
    }
    QByteArray bytes = file.readAll();
    if (!PngChunksPlausible(bytes)) {
        *status = UnknownImageFormat;
        return {};
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return DecodeFrom(reader, QFileInfo(), status, drawnHeight);
}
#endif

// The link's target of a name that keeps bytes, by the bytes.
QString CanonicalByBytes(const QString& path)
{
#ifdef Q_OS_UNIX
    const std::unique_ptr<char, decltype(&std::free)> resolved(
        ::realpath(EncodeFileName(path).constData(), nullptr), &std::free);
    return resolved ? DecodeFileName(QByteArray(resolved.get())) : QString();
#else
    return QFileInfo(path).canonicalFilePath();
#endif
}

} // namespace

QImage DecodePicture(const QString& path, int32_t* status, const DrawnHeight& drawnHeight)
{
#ifdef Q_OS_UNIX
    if (HasKeptBytes(path))
        return DecodeByBytes(path, status, drawnHeight);
#endif
    const QFileInfo info(path);
    // Only regular files: a pipe or a device named like a picture would
    // block the reader or never end.
    if (!info.exists() || !info.isFile()) {
        *status = FileNotFound;
        return {};
    }
    if (!info.isReadable()) {
        *status = Win32Error;
        return {};
    }
    if (info.size() <= ReadWholeBytes) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *status = Win32Error;
            return {};
        }
        QByteArray bytes = file.read(ReadWholeBytes + 1);
        if (!PngChunksPlausible(bytes)) {
            *status = UnknownImageFormat;
            return {};
        }
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::ReadOnly)) {
            *status = OutOfMemory;
            return {};
        }
        QImageReader reader(&buffer);
        return DecodeFrom(reader, info, status, drawnHeight);
    }
    if (!PngFileChunksPlausible(path)) {
        *status = UnknownImageFormat;
        return {};
    }
    QImageReader reader(path);
    return DecodeFrom(reader, info, status, drawnHeight);
}

int32_t GdipLoadImageFromFile(const QString& path, ImageHandle* image)
{
    *image = 0;
    if (!GdipStarted())
        return GdiplusNotInitialized;
    // By the link's target, so a picture reached through two names is shared.
    const std::optional<FileIdentity> identity = FileIdentityOf(
        HasKeptBytes(path) ? CanonicalByBytes(path) : QFileInfo(path).canonicalFilePath());
    ImageTable& table = Table();
    if (identity) {
        const std::lock_guard lock(table.mutex);
        const auto known = table.loaded.find(*identity);
        if (known != table.loaded.end()) {
            table.images.push_back(table.images[known->second - 1]);
            *image = static_cast<ImageHandle>(table.images.size());
            return Ok;
        }
    }
    int32_t status = Ok;
    QImage decoded = DecodePicture(path, &status);
    if (status != Ok)
        return status;
    *image = AddImage(std::move(decoded));
    if (identity) {
        const std::lock_guard lock(table.mutex);
        table.loaded.emplace(*identity, *image);
    }
    return Ok;
}

ImageHandle LoadImageFromFile(const QString& path)
{
    ImageHandle image = 0;
    CheckStatus(GdipLoadImageFromFile(path, &image));
    return image;
}

ImageHandle AddImage(QImage image)
{
    // Opaque pictures (most floors and walls) are kept without alpha, so
    // drawing them is a plain copy instead of a blend.
    const bool opaque = IsOpaque(image);
    QImage stored =
        image.convertToFormat(opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    ImageTable& table = Table();
    const std::lock_guard lock(table.mutex);
    table.images.push_back(std::move(stored));
    return static_cast<ImageHandle>(table.images.size());
}

QImage ImageOf(ImageHandle image)
{
    ImageTable& table = Table();
    const std::lock_guard lock(table.mutex);
    if (image == 0 || image > table.images.size())
        return {};
    return table.images[image - 1];
}

int ImageWidth(ImageHandle image)
{
    return ImageOf(image).width();
}

int ImageHeight(ImageHandle image)
{
    return ImageOf(image).height();
}

QImage ApplyOrientation(const QImage& source, Orientation orientation)
{
    if (source.isNull())
        return source;
    const int quarterTurns = orientation & 3;
    QImage turned =
        quarterTurns == 0 ? source : source.transformed(QTransform().rotate(90.0 * quarterTurns));
    if (orientation & 4)
#if QT_VERSION >= QT_VERSION_CHECK(6, 9, 0)
        turned = turned.flipped(Qt::Horizontal);
#else
        turned = turned.mirrored(true, false);
#endif
    return turned;
}

QImage OrientedImage(ImageHandle image, Orientation orientation)
{
    const QImage source = ImageOf(image);
    if (orientation == 0 || source.isNull())
        return source;
    return Table().oriented.Get({source.cacheKey(), orientation},
                                [&] { return ApplyOrientation(source, orientation); });
}

std::size_t OrientedCacheBytes()
{
    return Table().oriented.Bytes();
}

int32_t GdipSaveImageToFile(const QImage& image, const QString& path, const Clsid& encoder,
                            int quality, QString* reason)
{
    if (encoder.IsNull() || image.isNull() || path.isEmpty())
        return InvalidParameter;
    // Encoded whole before the file is touched: an encoder that gives up
    // halfway costs nothing on disk.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, encoder.format);
    const bool jpeg = encoder.format == "jpeg" || encoder.format == "jpg";
    if (jpeg)
        writer.setQuality(quality);
    // JPEG has no alpha channel; the canvas is opaque, so dropping it loses nothing.
    const QImage out = jpeg ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (!writer.write(out)) {
        if (reason)
            *reason = QCoreApplication::translate("Imaging", "The picture cannot be encoded as %1.")
                          .arg(jpeg ? QStringLiteral("JPEG")
                                    : QString::fromLatin1(encoder.format.toUpper()));
        return Win32Error;
    }
    const WriteOutcome written = WriteFileSafely(path, bytes);
    if (!written) {
        if (reason)
            *reason = written.reason;
        return Win32Error;
    }
    return Ok;
}

} // namespace halvorn
