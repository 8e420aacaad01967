// A palette thumbnail: one library picture as its cell shows it, and the
// cache that keeps thumbnails between openings of a palette.
#pragma once

#include "imaging/FileIdentity.h"
#include "imaging/ImageCache.h"
#include "library/TileKind.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <cstddef>
#include <mutex>
#include <tuple>

namespace halvorn {

// The picture at `path` drawn into its thumbnail box over `background`,
// exactly as a palette canvas of that colour shows it: the box's size for
// floors and walls, the fitted size for objects (see ThumbnailRect). Null
// when the imaging layer refuses the file. The decoded picture is released
// before this returns; safe to call from any thread.
QImage MakeThumbnail(BrushKind kind, const QString& path, QColor background);

// A thumbnail depends on the file as it is, the kind's way of fitting it and
// the colour under its transparent parts.
struct ThumbnailKey {
    BrushKind kind;
    QRgb background;
    FileIdentity file;

    friend bool operator<(const ThumbnailKey& a, const ThumbnailKey& b)
    {
        return std::tie(a.kind, a.background, a.file) < std::tie(b.kind, b.background, b.file);
    }
};

using ThumbnailCache = ImageCache<ThumbnailKey>;

// The thumbnail of a listed file as MakeThumbnail draws it, taken from
// `cache` (may be null) when the file is unchanged since it was put there,
// else made and put there. Null for anything that is not a regular file or
// a picture, or whose examining or reading fails. A file of LargePictureBytes
// or more is decoded only while holding `largeGate` (may be null), so the
// threads that share one gate hold at most one large picture at a time. Safe
// to call from any thread.
QImage ReadThumbnail(BrushKind kind, const QString& path, QColor background, ThumbnailCache* cache,
                     std::mutex* largeGate = nullptr);

// A file this large holds a picture of a thousand pixels a side or more
// (art of 2,400 pixels decodes to 23 MB): the size of the file stands in
// for the picture's, which is known only once it is read. One of huge
// dimensions in few bytes is still bounded by the imaging layer's decode
// limit.
inline constexpr qint64 LargePictureBytes = 1 << 20;

// Enough for every thumbnail of a 6,000-picture palette (36 x 36 pixels of
// 3 bytes each); the palette opened before gives way.
inline constexpr std::size_t ThumbnailCacheBytes = 24u << 20;

} // namespace halvorn
