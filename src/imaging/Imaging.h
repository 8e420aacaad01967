// The imaging layer: the one door to picture loading, transforming and
// encoding. It owns the table of loaded pictures; a picture is reached by a
// small handle (0 = none) that is never reused, and stays loaded until the
// program ends, so map cells can share it and compare by handle.
#pragma once

#include "map/MapDocument.h"
#include "map/Orientation.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace halvorn {

// Status codes of imaging calls; 0 is success.
enum Status : int32_t {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    Win32Error = 7,
    WrongState = 8,
    FileNotFound = 10,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    GdiplusNotInitialized = 18,
};

// Pictures whose decoded size would exceed this many megabytes are refused.
inline constexpr int DecodeLimitMiB = 64;

// True when this call started the layer, false when it was running already.
bool InitGdip();
// Harmless when not started or called twice.
void ShutdownGdip();
bool GdipStarted();

// The readable name of a status ("Unknown" outside 0..20).
QString StatusText(int32_t status);
// "<text>: Status = <n>", the description a failing status is shown with.
QString StatusDescription(int32_t status);
// Throws AppError(vbObjectError, "GDI+", StatusDescription(status)) unless status is 0.
void CheckStatus(int32_t status);

// An image encoder, found by MIME type; an empty one means none was found.
struct Clsid {
    QByteArray format;
    bool IsNull() const { return format.isEmpty(); }
    friend bool operator==(const Clsid&, const Clsid&) = default;
};
Clsid GetEncoderClsid(const QString& mimeType);

// The program's folder with a trailing separator.
QString AppPath();

// The height a picture of the given size is about to be drawn at, smoothly
// scaled, for a decode that need hold only what that draw reads.
using DrawnHeight = std::function<int(QSize)>;

// Decodes a picture file without adding it to the table; a null picture and
// the status on failure. Damaged files are refused before the decoder
// reserves anything for them. With `drawnHeight`, a large picture may come
// holding only the rows its draw at that height reads (DecodeRowsForDrawing):
// good for that draw alone.
QImage DecodePicture(const QString& path, int32_t* status, const DrawnHeight& drawnHeight = {});
// Loads a picture with its alpha channel; the status says why it failed.
// Each call gives a new handle; a file loaded before and unchanged since
// shares the picture decoded then.
int32_t GdipLoadImageFromFile(const QString& path, ImageHandle* image);
// Loads or throws the imaging error.
ImageHandle LoadImageFromFile(const QString& path);
// Adds an already decoded picture to the table (tests, generated art).
ImageHandle AddImage(QImage image);

// The picture as loaded; a null image for 0 or an unknown handle.
QImage ImageOf(ImageHandle image);
int ImageWidth(ImageHandle image);
int ImageHeight(ImageHandle image);

// The picture turned and mirrored by the orientation code. Pictures never
// change once loaded, so copies are kept, within a budget of bytes shared by
// all handles of the same picture.
QImage OrientedImage(ImageHandle image, Orientation orientation);
std::size_t OrientedCacheBytes();
// Applies the orientation code to any picture.
QImage ApplyOrientation(const QImage& source, Orientation orientation);

// Writes the picture in the encoder's format; JPEG takes a quality 0..100,
// other formats ignore it. The picture is encoded in memory and written
// through WriteFileSafely (storage/SafeWrite.h): success means the file is on
// disk and reads back as encoded; on failure the old file is as it was and
// `reason` (when given) receives why, in words.
int32_t GdipSaveImageToFile(const QImage& image, const QString& path, const Clsid& encoder,
                            int quality = -1, QString* reason = nullptr);

} // namespace halvorn
