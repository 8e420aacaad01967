// Paints the map into a picture the caller owns, at a zoom factor. The
// picture is the canvas: the screen shows it, export saves it and printing
// prints it, so there is one drawing path for all three.
#pragma once

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "map/ShadowParams.h"
#include "render/Shortcuts.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace halvorn {

// Canvas size in device pixels for a map at `zoom` on a screen of `ratio`
// device pixels per canvas pixel (1080 x 1080 at 100 % and ratio 1).
QSize CanvasSize(const MapDocument& map, float zoom, float ratio = 1.0f);

class BandWorker;
struct Stamp;
struct View;
class ShadeTable;
class SpriteCache;

// Draws a map into one canvas, remembering what the canvas shows. After a
// change of floor cells or wall points only, it repaints the rectangles those
// can reach, each from white through every layer in order; any other change
// (an object, the zoom, a layer, a shadow setting, someone else drawing on
// the canvas) draws the whole map. Either way the canvas ends as the literal
// redraw leaves it, within 1 of 255. Shortcuts.h lists the shortcuts taken
// and lets each be switched off. One per canvas; not for use by two threads
// at once (it shares bands out to a helper thread of its own).
//
// At a device pixel ratio r the map's geometry is laid out at zoom x r, so
// the picture is the one at ratio 1 with r times as many pixels each way:
// what was one canvas pixel (a grid line, half a pixel of wall overlap) is
// r device pixels, and the wall shadow keeps the layers of its zoom.
class MapRenderer {
public:
    explicit MapRenderer(RenderShortcuts shortcuts = RenderShortcuts::FromEnvironment());
    MapRenderer(const MapRenderer&) = delete;
    MapRenderer& operator=(const MapRenderer&) = delete;
    ~MapRenderer();

    // Makes `canvas` show the map: grid, floors, objects (with shadows) and
    // walls (with shadows) on white. `canvas` must be CanvasSize(map, zoom,
    // ratio) large. A canvas changed by anyone else since the last call, or
    // another zoom, ratio, layer choice or shadow setting, is drawn whole.
    void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
                const ShadowParams& shadows, bool drawshadows, float ratio = 1.0f);

    // The shortcuts the next redraws take; a change draws the next one whole.
    void SetShortcuts(RenderShortcuts shortcuts);
    RenderShortcuts Shortcuts() const { return shortcuts_; }

    // How the last call went: -1 after a whole redraw, otherwise the number
    // of rectangles repainted (0 when nothing had changed).
    int LastRepaintedRectangles() const { return lastRects_; }

private:
    struct Shown;
    void DrawChanged(QImage& canvas, const View& view, const std::vector<QRect>& changed);
    void DrawWhole(QImage& canvas, const View& view);
    void RunBands(RenderShortcuts taken, int count, const std::function<void(int)>& paint);

    RenderShortcuts shortcuts_;

    std::unique_ptr<Shown> shown_;
    std::unique_ptr<SpriteCache> sprites_;
    std::unique_ptr<BandWorker> worker_;
    std::unique_ptr<ShadeTable> shade_;
    // Both kinds of redraw collect into it: keeping its room saves a tenth
    // of a whole redraw's time. Emptied after each redraw, as its stamps
    // point into pictures kept only for that redraw.
    std::vector<Stamp> stamps_;
    int lastRects_ = -1;
};

// A one-off drawing, keeping nothing.
void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
            const ShadowParams& shadows, bool drawshadows,
            RenderShortcuts shortcuts = RenderShortcuts::FromEnvironment(), float ratio = 1.0f);

} // namespace halvorn
