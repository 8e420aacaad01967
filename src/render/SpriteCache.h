// Prepared pictures a redraw puts down unscaled: floors, objects and their
// silhouettes scaled at their place on the canvas, wall pieces and the layer
// counts of a wall point's shadow squares drawn at each sub-pixel phase of
// the zoom. Each is made the way a direct scaled draw makes it, so putting
// it down lands on the same pixels.
//
// Two lifetimes. Kept across redraws: silhouettes, scaled copies at a
// place, wall pieces and shadow counts per phase, keyed by the picture's
// identity (the decoded picture's cache key, so handles that share one
// picture share its entries) and what the preparation depends on, in an
// ImageCache of at most ByteBudget bytes (the renderer gives r x r times as
// much at a device pixel ratio r), least recently used dropped first.
// For this redraw: every picture a redraw asks for, prepared or as loaded,
// is also held until the redraw's RedrawScope ends, so nothing it stamps
// goes away under it when the budget drops it. Besides the budget it keeps
// one canvas-sized scratch picture (4.7 MB at 100 %) and the keys of at
// most 100,000 places where a scaled picture was drawn once.
#pragma once

#include "imaging/ImageCache.h"
#include "map/MapDocument.h"
#include "map/Orientation.h"

#include <QImage>
#include <QRectF>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <variant>

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
    // The wall piece drawn `side` device pixels square at a position whose
    // fractions are (fx, fy). Null when it leaves nothing visible.
    const QImage* WallPiece(ImageHandle image, float side, float fx, float fy);
    // How many shadow squares of one wall point cover each pixel (8-bit
    // grey), drawn from the position (cx - 8 z, cy - 8 z) with fractions
    // (fx, fy), where z is `scale` device pixels per map pixel; the squares
    // n = firstLayer..8 of that point.
    const QImage* WallShade(float scale, int firstLayer, float fx, float fy);

    // The `source` part of `picture` scaled into `target` exactly as a
    // direct draw on a canvas of `canvas` size puts it there, cut to the
    // canvas; offset() is its top-left on the canvas. Null when nothing of
    // it lies on the canvas.
    // Made only when asked for the second time: a picture drawn once at a
    // place is cheaper drawn directly; null until then.
    const QImage* PlacedIfSeen(const QImage& picture, QRect source, QRect target, QSize canvas);
    // The same cut-out for any target, made afresh and held for this redraw
    // only.
    const QImage* AtPlaceForThisRedraw(const QImage& picture, QRect source, QRectF target,
                                       QSize canvas);

    std::size_t Bytes() const { return store_.Bytes(); }
    std::size_t Budget() const { return store_.Budget(); }

    // One redraw: what it was handed stays valid until the scope ends.
    class RedrawScope {
    public:
        explicit RedrawScope(SpriteCache& cache) : cache_(cache) {}
        RedrawScope(const RedrawScope&) = delete;
        RedrawScope& operator=(const RedrawScope&) = delete;
        ~RedrawScope() { cache_.EndRedraw(); }

    private:
        SpriteCache& cache_;
    };

private:
    // What each kind of prepared picture depends on.
    struct AsLoadedKey {
        ImageHandle image;
        auto operator<=>(const AsLoadedKey&) const = default;
    };
    struct TurnedKey {
        ImageHandle image;
        Orientation orientation;
        auto operator<=>(const TurnedKey&) const = default;
    };
    struct SilhouetteKey {
        int64_t picture;
        Orientation orientation;
        float alpha;
        auto operator<=>(const SilhouetteKey&) const = default;
    };
    struct PlacedKey {
        int64_t picture;
        int left, top, width, height; // the target on the canvas
        int sourceWidth, sourceHeight;
        auto operator<=>(const PlacedKey&) const = default;
    };
    struct WallPieceKey {
        int64_t picture;
        float side, fx, fy;
        auto operator<=>(const WallPieceKey&) const = default;
    };
    struct WallShadeKey {
        float scale;
        int firstLayer;
        float fx, fy;
        auto operator<=>(const WallShadeKey&) const = default;
    };
    // Prepared pictures kept across redraws.
    using KeptKey = std::variant<SilhouetteKey, PlacedKey, WallPieceKey, WallShadeKey>;
    // Everything a redraw is handed.
    using RedrawKey =
        std::variant<AsLoadedKey, TurnedKey, SilhouetteKey, PlacedKey, WallPieceKey, WallShadeKey>;
    struct KeyHash {
        std::size_t operator()(const RedrawKey& k) const;
        std::size_t operator()(const PlacedKey& k) const;
    };

    // The picture for `key`, made by `make` the first time this redraw asks.
    template <class Make>
    const QImage* ForThisRedraw(const RedrawKey& key, Make make);
    // The same, and kept in the store across redraws within the budget.
    template <class Key, class Make>
    const QImage* KeptAcrossRedraws(const Key& key, Make make);
    // Lets go of what the redraw that ends held.
    void EndRedraw();
    QImage DrawnAtPlace(const QImage& picture, QRect source, QRectF target, QSize canvas);

    ImageCache<KeptKey> store_;
    std::unordered_set<PlacedKey, KeyHash> seenOnce_;
    // Where scaled pictures are drawn at their place on the canvas, to be
    // cut out: the raster engine's sampling of a scaled draw depends on
    // where on the device it lands.
    QImage scratch_;
    std::unordered_map<RedrawKey, const QImage*, KeyHash> thisRedraw_;
    std::deque<QImage> heldThisRedraw_;
};

// The first shadow layer drawn at a zoom (9 = none): fewer layers at smaller
// zoom make a shorter shadow.
int FirstShadowLayer(float zoom);

} // namespace halvorn
