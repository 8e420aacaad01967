#include "Doors.h"

#include "imaging/Imaging.h"
#include "imaging/PngChunkCheck.h"
#include "library/PaletteLayout.h"
#include "library/Thumbnail.h"

#include <QFile>
#include <QPainter>

#include <array>
#include <cstdint>

namespace halvorn::doors {

namespace {

// Pixels of `image` outside `keep` that are not `colour`.
bool OnlyColourOutside(const QImage& image, QRect keep, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!keep.contains(x, y) && row[x] != colour)
                return false;
        }
    }
    return true;
}

bool TurnsSideways(Orientation orientation)
{
    return orientation % 2 == 1;
}

} // namespace

QStringList PictureDoor(QByteArrayView bytes)
{
    QStringList broken;
    const QString path = ScratchFolder() + QStringLiteral("/picture.png");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes.data(), bytes.size()) != bytes.size())
            return {QStringLiteral("scratch file not written")};
    }

    // The chunk walk sees the same bytes whether it reads them or is handed them.
    const bool plausible = PngChunksPlausible(bytes);
    if (PngFileChunksPlausible(path) != plausible)
        broken << QStringLiteral("chunk walk differs between file and buffer");

    int32_t status = -1;
    QImage decoded = DecodePicture(path, &status);
    if ((status == Ok) == decoded.isNull())
        broken << QStringLiteral("status %1 with a %2 picture")
                      .arg(status)
                      .arg(decoded.isNull() ? QStringLiteral("null") : QStringLiteral("decoded"));
    if (!plausible && status != UnknownImageFormat)
        broken << QStringLiteral("implausible chunks but status %1").arg(status);
    if (status != Ok && status != UnknownImageFormat && status != OutOfMemory)
        broken << QStringLiteral("unexpected status %1 for a readable file").arg(status);
    if (!decoded.isNull() && qint64(decoded.width()) * decoded.height() * 4 > qint64(DecodeLimitMiB)
                                                                                  << 20)
        broken << QStringLiteral("decoded %1 x %2, over the decode limit")
                      .arg(decoded.width())
                      .arg(decoded.height());

    // What is drawn is chosen by the input, so the fuzzer reaches every kind,
    // orientation and zoom.
    const uint8_t tail = bytes.empty() ? 0 : static_cast<uint8_t>(bytes.back());
    const BrushKind kind =
        std::array{BrushKind::Floor, BrushKind::Wall, BrushKind::Object}[tail % 3];
    const Orientation orientation = (tail / 3) % 8;
    const float zoom = std::array{0.25f, 0.5f, 0.75f, 1.0f}[(tail / 24) % 4];

    if (!decoded.isNull()) {
        const QImage oriented = ApplyOrientation(decoded, orientation);
        const QSize expected =
            TurnsSideways(orientation) ? decoded.size().transposed() : decoded.size();
        if (oriented.size() != expected)
            broken << QStringLiteral("orientation %1 gave %2 x %3")
                          .arg(orientation)
                          .arg(oriented.width())
                          .arg(oriented.height());
        // Drawn as the map draws an object: scaled by the zoom at a fractional
        // place, on a canvas of a few cells that clips most of a big picture.
        QImage canvas(4 * 72, 4 * 72, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        const QRectF target(36.5f * zoom, 18.25f * zoom, oriented.width() * zoom,
                            oriented.height() * zoom);
        {
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, oriented);
        }
        if (!OnlyColourOutside(canvas, target.toAlignedRect().adjusted(-1, -1, 1, 1),
                               qRgb(255, 255, 255)))
            broken << QStringLiteral("scaled draw reached outside its rectangle");
    }
    const QSize pictureSize = decoded.size();
    // The thumbnail is the whole picture drawn smoothly into its box, even
    // where it decodes only the rows that draw reads.
    const QColor background(212, 208, 200);
    QImage whole;
    if (!decoded.isNull()) {
        whole =
            QImage(ThumbnailRect(kind, 0, pictureSize).size(), QImage::Format_ARGB32_Premultiplied);
        whole.fill(background);
        QPainter painter(&whole);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), whole.size()), decoded);
    }
    decoded = QImage(); // the thumbnail decodes again; keep one copy at a time

    // The palette's thumbnail of the file: its box for floors and walls, the
    // fitted size for objects; none for a file the imaging layer refuses.
    const QImage thumbnail = MakeThumbnail(kind, path, background);
    if (thumbnail.isNull() != (status != Ok))
        broken << QStringLiteral("a thumbnail %1 for status %2")
                      .arg(thumbnail.isNull() ? QStringLiteral("missing") : QStringLiteral("made"))
                      .arg(status);
    if (!thumbnail.isNull() && thumbnail.size() != ThumbnailRect(kind, 0, pictureSize).size())
        broken << QStringLiteral("thumbnail %1 x %2 for a %3 x %4 picture")
                      .arg(thumbnail.width())
                      .arg(thumbnail.height())
                      .arg(pictureSize.width())
                      .arg(pictureSize.height());
    else if (!thumbnail.isNull() && thumbnail != whole.convertToFormat(thumbnail.format()))
        broken << QStringLiteral("thumbnail differs from the whole picture drawn into its box");
    return broken;
}

} // namespace halvorn::doors
