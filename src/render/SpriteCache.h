// Prepared pictures a redraw draws from: turned objects, their silhouettes,
// and wall pieces and the layer counts of a wall point's shadow squares drawn
// at each sub-pixel phase of the zoom. A wall piece made the way a direct
// scaled draw at that phase draws it lands on the same pixels when put down
// unscaled; its offset() says where its top-left goes relative to the floor
// of the drawing position. Floors and objects are scaled by each redraw
// itself: the raster engine's sampling depends on where a scaled draw lands,
// so a picture scaled ahead would differ from a direct draw.
//
// Entries are keyed by picture identity (the decoded picture's cache key),
// not by handle: handles that share one picture share its entries. They live
// in an ImageCache of at most ByteBudget bytes, least recently used dropped
// first; what one redraw uses is also held by the redraw until EndRedraw, so
// nothing it stamps goes away under it.
#pragma once

#include "map/MapDocument.h"
#include "map/Orientation.h"
#include "render/ImageCache.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>

namespace halvorn {

class SpriteCache {
public:
    static constexpr std::size_t ByteBudget = std::size_t{16} << 20;

    explicit SpriteCache(std::size_t budget = ByteBudget) : store_(budget) {}

    // The picture of a handle, as loaded.
    const QImage* Picture(ImageHandle image);
    // An object picture turned by `orientation`.
    const QImage* Turned(ImageHandle image, Orientation orientation);
    // Its silhouette through the shadow matrix of `alpha`.
    const QImage* Silhouette(ImageHandle image, Orientation orientation, float alpha);
    // The wall piece drawn (s + 0.5) square at a position whose fractions
    // are (fx, fy). Null when it leaves nothing visible.
    const QImage* WallPiece(ImageHandle image, float zoom, float fx, float fy);
    // How many shadow squares of one wall point cover each pixel (8-bit
    // grey), drawn from the position (cx - 8 z, cy - 8 z) with fractions (fx, fy).
    const QImage* WallShade(float zoom, float fx, float fy);

    // Lets go of what the redraw that ends held.
    void EndRedraw();
    std::size_t Bytes() const { return store_.Bytes(); }
    std::size_t Budget() const { return store_.Budget(); }

private:
    struct Key {
        int64_t picture = 0;
        int kind = 0;
        int a = 0, b = 0, c = 0, d = 0, e = 0;
        float f = 0, g = 0, h = 0;
        auto operator<=>(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    // Held for this redraw; Get also kept in the store across redraws.
    template <class Make>
    const QImage* Hold(const Key& key, Make make);
    template <class Make>
    const QImage* Get(const Key& key, Make make);

    ImageCache<Key> store_;
    std::unordered_map<Key, const QImage*, KeyHash> held_;
    std::deque<QImage> keep_;
};

// The first shadow layer drawn at a zoom (9 = none): fewer layers at smaller
// zoom make a shorter shadow.
int FirstShadowLayer(float zoom);

} // namespace halvorn
