// Prepared pictures a redraw puts down unscaled: floors, objects and their
// silhouettes scaled at their place on the canvas, wall pieces and the layer
// counts of a wall point's shadow squares drawn at each sub-pixel phase of
// the zoom. Each is made the way a direct scaled draw makes it, so putting
// it down lands on the same pixels.
//
// Entries are keyed by picture identity (the decoded picture's cache key),
// not by handle: handles that share one picture share its entries. They live
// in an ImageCache of at most ByteBudget bytes, least recently used dropped
// first; what one redraw uses is also held by the redraw until EndRedraw, so
// nothing it stamps goes away under it. Besides the budget it keeps one
// canvas-sized scratch picture (4.7 MB at 100 %) and the keys of at most
// 100,000 places where a scaled picture was drawn once.
#pragma once

#include "map/MapDocument.h"
#include "map/Orientation.h"
#include "render/ImageCache.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace halvorn {

class SpriteCache {
public:
    static constexpr std::size_t ByteBudget = std::size_t{24} << 20;

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

    // The `source` part of `picture` scaled into `target` exactly as a
    // direct draw on a canvas of `canvas` size puts it there, cut to the
    // canvas; offset() is its top-left on the canvas. Null when nothing of
    // it lies on the canvas.
    // Made only when asked for the second time: a picture drawn once at a
    // place is cheaper drawn directly; null until then.
    const QImage* PlacedIfSeen(const QImage& picture, QRect source, QRect target, QSize canvas);

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
        int i = 0, j = 0;
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
    std::unordered_set<Key, KeyHash> seen_;
    // Where scaled pictures are drawn at their place on the canvas, to be
    // cut out: the raster engine's sampling of a scaled draw depends on
    // where on the device it lands.
    QImage scratch_;
    std::unordered_map<Key, const QImage*, KeyHash> held_;
    std::deque<QImage> keep_;
};

// The first shadow layer drawn at a zoom (9 = none): fewer layers at smaller
// zoom make a shorter shadow.
int FirstShadowLayer(float zoom);

} // namespace halvorn
