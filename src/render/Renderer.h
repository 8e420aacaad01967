// Paints the whole map into a picture the caller owns, at a zoom factor. The
// picture is the canvas: the screen shows it, export saves it and printing
// prints it, so there is one drawing path for all three.
#pragma once

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/ShadowMatrix.h"
#include "render/WallSprites.h"

#include <QImage>
#include <QSize>

#include <cstdint>

namespace halvorn {

struct ShadowParams {
    float ObjectShadowAlpha = 0.4f;  // 0..1, object shadow opacity factor
    int16_t ObjectShadowOffset = 5;  // map pixels right and down
    int16_t WallShadowAlpha = 32;    // 0..255, opacity of each wall shadow layer
};

// Canvas size in canvas pixels for a map at `zoom` (1080 x 1080 at 100 %).
QSize CanvasSize(const MapDocument& map, float zoom);

// Draws maps, keeping the shadows and wall pieces it prepared for the next
// redraw: one per canvas.
class MapRenderer {
public:
    // Clears `canvas` to white and draws grid, floors, objects (with shadows)
    // and walls (with shadows). `canvas` must be CanvasSize(map, zoom) large.
    void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
                const ShadowParams& shadows, bool drawshadows);

private:
    ShadowImages objectShadows_;
    WallSprites walls_;
};

// A one-off drawing, keeping nothing.
void Redraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
            const ShadowParams& shadows, bool drawshadows);

} // namespace halvorn
