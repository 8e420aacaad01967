#include "render/SpriteCache.h"

#include "imaging/Imaging.h"
#include "render/ShadowMatrix.h"

#include <QPainter>

#include <cmath>
#include <cstring>
#include <functional>
#include <type_traits>

namespace halvorn {

namespace {

QImage Transparent(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Cuts a drawing to the pixels it covers, remembering where the cut began;
// one that covers all of them opaquely becomes a picture without alpha,
// which stamps as a plain copy.
QImage Trimmed(const QImage& drawn)
{
    QRect used;
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x)
            if (qAlpha(line[x]) != 0)
                used |= QRect(x, y, 1, 1);
    }
    if (used.isEmpty())
        return {};
    QImage part = drawn.copy(used);
    bool opaque = true;
    for (int y = 0; opaque && y < part.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        for (int x = 0; x < part.width(); ++x)
            opaque = opaque && qAlpha(line[x]) == 255;
    }
    if (opaque)
        part = part.convertToFormat(QImage::Format_RGB32);
    part.setOffset(used.topLeft());
    return part;
}

int FloatBits(float v)
{
    int bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

} // namespace

int FirstShadowLayer(float zoom)
{
    int first = 9;
    if (zoom > 0.1f)
        first = 6;
    if (zoom > 0.4f)
        first = 4;
    if (zoom > 0.8f)
        first = 2;
    return first;
}

namespace {

std::size_t Mix(std::size_t h, int64_t v)
{
    return h * 1000003u ^ std::hash<int64_t>()(v);
}

std::size_t Mix(std::size_t h, float v)
{
    return Mix(h, static_cast<int64_t>(FloatBits(v)));
}

} // namespace

std::size_t SpriteCache::KeyHash::operator()(const PlacedKey& k) const
{
    std::size_t h = std::hash<int64_t>()(k.picture);
    for (const int v : {k.left, k.top, k.width, k.height, k.sourceWidth, k.sourceHeight})
        h = Mix(h, int64_t{v});
    return h;
}

std::size_t SpriteCache::KeyHash::operator()(const RedrawKey& key) const
{
    const std::size_t kind = key.index();
    return std::visit(
        [&](const auto& k) -> std::size_t {
            using K = std::decay_t<decltype(k)>;
            if constexpr (std::is_same_v<K, AsLoadedKey>)
                return Mix(kind, int64_t{k.image});
            else if constexpr (std::is_same_v<K, TurnedKey>)
                return Mix(Mix(kind, int64_t{k.image}), int64_t{k.orientation});
            else if constexpr (std::is_same_v<K, SilhouetteKey>)
                return Mix(Mix(Mix(kind, k.picture), int64_t{k.orientation}), k.alpha);
            else if constexpr (std::is_same_v<K, PlacedKey>)
                return Mix(kind, static_cast<int64_t>((*this)(k)));
            else if constexpr (std::is_same_v<K, WallPieceKey>)
                return Mix(Mix(Mix(Mix(kind, k.picture), k.side), k.fx), k.fy);
            else
                return Mix(Mix(Mix(Mix(kind, k.scale), int64_t{k.firstLayer}), k.fx), k.fy);
        },
        key);
}

template <class Make>
const QImage* SpriteCache::ForThisRedraw(const RedrawKey& key, Make make)
{
    const auto found = thisRedraw_.find(key);
    if (found != thisRedraw_.end())
        return found->second;
    heldThisRedraw_.push_back(make());
    const QImage* image = heldThisRedraw_.back().isNull() ? nullptr : &heldThisRedraw_.back();
    thisRedraw_.emplace(key, image);
    return image;
}

template <class Key, class Make>
const QImage* SpriteCache::KeptAcrossRedraws(const Key& key, Make make)
{
    return ForThisRedraw(key, [&] { return store_.Get(key, make); });
}

void SpriteCache::EndRedraw()
{
    thisRedraw_.clear();
    heldThisRedraw_.clear();
}

// For this redraw only: the imaging layer keeps pictures and their turned
// copies itself.
const QImage* SpriteCache::Picture(ImageHandle image)
{
    return ForThisRedraw(AsLoadedKey{image}, [&] { return ImageOf(image); });
}

const QImage* SpriteCache::Turned(ImageHandle image, Orientation orientation)
{
    return ForThisRedraw(TurnedKey{image, orientation},
                         [&] { return OrientedImage(image, orientation); });
}

const QImage* SpriteCache::Silhouette(ImageHandle image, Orientation orientation, float alpha)
{
    return KeptAcrossRedraws(SilhouetteKey{ImageOf(image).cacheKey(), orientation, alpha}, [&] {
        return ApplyColorMatrix(OrientedImage(image, orientation), MakeShadowMatrix(alpha));
    });
}

const QImage* SpriteCache::PlacedIfSeen(const QImage& picture, QRect source, QRect target,
                                        QSize canvas)
{
    const QRect visible = target & QRect(QPoint(0, 0), canvas);
    if (visible.isEmpty() || source.x() != 0 || source.y() != 0)
        return nullptr;
    const PlacedKey key{picture.cacheKey(), target.x(),     target.y(),     target.width(),
                        target.height(),    source.width(), source.height()};
    // Keys only, a few dozen bytes each; forgotten wholesale now and then.
    if (seenOnce_.size() > 100000)
        seenOnce_.clear();
    if (seenOnce_.insert(key).second)
        return nullptr;
    return KeptAcrossRedraws(key, [&] { return DrawnAtPlace(picture, source, target, canvas); });
}

const QImage* SpriteCache::AtPlaceForThisRedraw(const QImage& picture, QRect source, QRectF target,
                                                QSize canvas)
{
    if ((target.toAlignedRect() & QRect(QPoint(0, 0), canvas)).isEmpty())
        return nullptr;
    heldThisRedraw_.push_back(DrawnAtPlace(picture, source, target, canvas));
    return &heldThisRedraw_.back();
}

QImage SpriteCache::DrawnAtPlace(const QImage& picture, QRect source, QRectF target, QSize canvas)
{
    const QRect visible = target.toAlignedRect() & QRect(QPoint(0, 0), canvas);
    if (scratch_.width() < canvas.width() || scratch_.height() < canvas.height())
        scratch_ = QImage(canvas, QImage::Format_ARGB32_Premultiplied);
    // Exactly the canvas's size: where the edge cuts a draw matters.
    QImage view(scratch_.bits(), canvas.width(), canvas.height(), scratch_.bytesPerLine(),
                scratch_.format());
    QPainter p(&view);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(visible, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(target, picture, QRectF(source));
    p.end();
    QImage cut = view.copy(visible);
    if (!picture.hasAlphaChannel() && source == picture.rect() && QRectF(visible) == target)
        cut = cut.convertToFormat(QImage::Format_RGB32);
    cut.setOffset(visible.topLeft());
    return cut;
}

const QImage* SpriteCache::WallPiece(ImageHandle image, float side, float fx, float fy)
{
    const QImage picture = ImageOf(image);
    return KeptAcrossRedraws(WallPieceKey{picture.cacheKey(), side, fx, fy}, [&] {
        const int extent = static_cast<int>(std::ceil(side)) + 2;
        QImage drawn = Transparent(extent, extent);
        QPainter p(&drawn);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(fx, fy, side, side), picture);
        p.end();
        return Trimmed(drawn);
    });
}

const QImage* SpriteCache::WallShade(float scale, int firstLayer, float fx, float fy)
{
    return KeptAcrossRedraws(WallShadeKey{scale, firstLayer, fx, fy}, [&] {
        // Each square drawn alone in opaque white shows exactly the pixels
        // its fill covers; the counts add up.
        const float s = 18 * scale;
        const int extent = static_cast<int>(std::ceil(s + 8 * scale)) + 2;
        QImage counts(extent, extent, QImage::Format_Grayscale8);
        counts.fill(0);
        QImage square(extent, extent, QImage::Format_ARGB32_Premultiplied);
        for (int n = firstLayer; n <= 8; ++n) {
            square.fill(Qt::transparent);
            QPainter p(&square);
            const float off = static_cast<float>(n) * scale;
            p.fillRect(QRectF(fx + 8 * scale - off, fy + 8 * scale - off, s, s), Qt::white);
            p.end();
            for (int y = 0; y < extent; ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(square.constScanLine(y));
                uchar* out = counts.scanLine(y);
                for (int x = 0; x < extent; ++x)
                    out[x] = static_cast<uchar>(out[x] + (qAlpha(in[x]) != 0));
            }
        }
        QRect used;
        for (int y = 0; y < extent; ++y)
            for (int x = 0; x < extent; ++x)
                if (counts.constScanLine(y)[x] != 0)
                    used |= QRect(x, y, 1, 1);
        if (used.isEmpty())
            return QImage();
        QImage part = counts.copy(used);
        part.setOffset(used.topLeft());
        return part;
    });
}

} // namespace halvorn
