#include "library/Thumbnail.h"

#include "imaging/Imaging.h"
#include "library/FolderCalls.h"
#include "library/PaletteLayout.h"
#include "library/TileListing.h"

#include <QPainter>

namespace halvorn {

QImage MakeThumbnail(BrushKind kind, const QString& path, QColor background)
{
    int32_t status = Ok;
    // Art of thousands of pixels is decoded only where the draw below reads.
    const QImage picture = DecodePicture(
        path, &status, [kind](QSize size) { return ThumbnailRect(kind, 0, size).height(); });
    if (picture.isNull())
        return {};
    // The same fill and the same smooth scaled draw as on the whole canvas,
    // only on a picture of the box's own size: every pixel comes out as the
    // canvas would have it.
    const QRect box = ThumbnailRect(kind, 0, picture.size());
    QImage thumbnail(box.size(), QImage::Format_ARGB32_Premultiplied);
    thumbnail.fill(background);
    QPainter painter(&thumbnail);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), box.size()), picture);
    painter.end();
    // Opaque now, over the background: three bytes a pixel keep every pixel
    // as it is, and thousands of thumbnails a quarter smaller.
    return thumbnail.convertToFormat(QImage::Format_RGB888);
}

QImage ReadThumbnail(BrushKind kind, const QString& path, QColor background, ThumbnailCache* cache,
                     std::mutex* largeGate)
{
    const std::optional<FileIdentity> identity = ExamineTileFile(path);
    if (!identity)
        return {};
    const ThumbnailKey key{kind, background.rgba(), *identity};
    if (cache) {
        if (std::optional<QImage> kept = cache->Find(key))
            return *std::move(kept);
    }
    std::unique_lock<std::mutex> large;
    if (largeGate && identity->size >= LargePictureBytes)
        large = std::unique_lock(*largeGate);
    if (foldercalls::Before(foldercalls::Call::ReadPicture, path) != 0)
        return {};
    QImage thumbnail = MakeThumbnail(kind, path, background);
    if (cache && !thumbnail.isNull())
        cache->Put(key, thumbnail);
    return thumbnail;
}

} // namespace halvorn
