// The canvas's two pictures: the screen picture, drawn at the screen's device
// pixel ratio so that a HiDPI screen shows the map sharp, and the map's own
// picture at one device pixel per canvas pixel, which export and printing
// take whatever the screen. At ratio 1 they are one picture and each redraw
// draws once. At another ratio the map's picture is drawn only when someone
// asks for it, from what the last redraw drew (a copy of the map and the
// redraw's settings), so that it is what ratio 1 would have shown.
#pragma once

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/Renderer.h"

#include <QImage>
#include <QSize>

#include <memory>
#include <optional>

namespace halvorn {

class CanvasPictures {
public:
    explicit CanvasPictures(RenderShortcuts shortcuts = RenderShortcuts::FromEnvironment());
    CanvasPictures(const CanvasPictures&) = delete;
    CanvasPictures& operator=(const CanvasPictures&) = delete;
    ~CanvasPictures();

    // The renderer shortcuts of the redraws from now on.
    void SetShortcuts(RenderShortcuts shortcuts);

    // Draws the map into the screen picture at `ratio` device pixels per
    // canvas pixel (the picture carries the ratio as its device pixel ratio).
    void Redraw(const MapDocument& map, const LayerSwitches& layers, float zoom,
                const ShadowParams& shadows, bool drawshadows, float ratio);
    // Both pictures white at `size` canvas pixels, as before any redraw.
    void Clear(QSize size, float ratio);

    // What the screen shows: device pixels, with the ratio set on it.
    const QImage& Screen() const { return screen_; }
    float Ratio() const { return ratio_; }
    // True after Clear until the next Redraw.
    bool Cleared() const { return cleared_; }
    // The map's picture at ratio 1: the screen picture itself at ratio 1.
    const QImage& MapPicture() const;

private:
    // What the last redraw at a ratio other than 1 drew.
    struct Drawn {
        MapDocument map;
        LayerSwitches layers;
        float zoom;
        ShadowParams shadows;
        bool drawshadows;
    };

    RenderShortcuts shortcuts_;
    MapRenderer screenRenderer_;
    QImage screen_;
    float ratio_ = 1.0f;
    bool cleared_ = true;
    QSize clearedSize_;
    std::optional<Drawn> last_;
    // The map's picture at a ratio other than 1, made on demand; a cache.
    mutable std::unique_ptr<MapRenderer> mapRenderer_;
    mutable QImage mapPicture_;
    mutable bool mapPictureCurrent_ = false;
};

} // namespace halvorn
