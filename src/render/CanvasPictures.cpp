#include "render/CanvasPictures.h"

#include "map/Numeric.h"

namespace halvorn {

namespace {

QImage White(QSize size, float ratio)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace

CanvasPictures::CanvasPictures(RenderShortcuts shortcuts)
    : shortcuts_(shortcuts), screenRenderer_(shortcuts)
{
}

CanvasPictures::~CanvasPictures() = default;

void CanvasPictures::SetShortcuts(RenderShortcuts shortcuts)
{
    shortcuts_ = shortcuts;
    screenRenderer_.SetShortcuts(shortcuts);
    if (mapRenderer_)
        mapRenderer_->SetShortcuts(shortcuts);
}

void CanvasPictures::Redraw(const MapDocument& map, const LayerSwitches& layers, float zoom,
                            const ShadowParams& shadows, bool drawshadows, float ratio)
{
    const QSize size = CanvasSize(map, zoom, ratio);
    if (screen_.size() != size || screen_.devicePixelRatio() != ratio) {
        screen_ = QImage(size, QImage::Format_RGB32);
        screen_.setDevicePixelRatio(ratio);
    }
    screenRenderer_.Redraw(screen_, map, layers, zoom, shadows, drawshadows, ratio);
    ratio_ = ratio;
    cleared_ = false;
    if (ratio == 1.0f) {
        // The screen picture is the map's: nothing else to keep.
        last_.reset();
        mapRenderer_.reset();
        mapPicture_ = QImage();
        return;
    }
    // A copy of the map is a few kilobytes of handles, far cheaper than
    // drawing it a second time on every redraw.
    if (last_) {
        last_->map = map;
        last_->layers = layers;
        last_->zoom = zoom;
        last_->shadows = shadows;
        last_->drawshadows = drawshadows;
    } else {
        last_ = Drawn{map, layers, zoom, shadows, drawshadows};
    }
    mapPictureCurrent_ = false;
}

void CanvasPictures::Clear(QSize size, float ratio)
{
    ratio_ = ratio;
    cleared_ = true;
    clearedSize_ = size;
    screen_ =
        White(QSize(RoundToInt(size.width() * ratio), RoundToInt(size.height() * ratio)), ratio);
    last_.reset();
    mapPictureCurrent_ = false;
}

const QImage& CanvasPictures::MapPicture() const
{
    if (ratio_ == 1.0f)
        return screen_;
    if (mapPictureCurrent_)
        return mapPicture_;
    if (cleared_ || !last_) {
        mapPicture_ = White(clearedSize_, 1.0f);
    } else {
        const QSize size = CanvasSize(last_->map, last_->zoom);
        if (mapPicture_.size() != size)
            mapPicture_ = QImage(size, QImage::Format_RGB32);
        // Kept between requests: when only floors and walls changed since
        // the last one, it repaints just what they reach.
        if (!mapRenderer_)
            mapRenderer_ = std::make_unique<MapRenderer>(shortcuts_);
        mapRenderer_->Redraw(mapPicture_, last_->map, last_->layers, last_->zoom, last_->shadows,
                             last_->drawshadows);
    }
    mapPictureCurrent_ = true;
    return mapPicture_;
}

} // namespace halvorn
