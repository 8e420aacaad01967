// A redraw as a list of stamps: pictures put down at whole pixel positions,
// the black grid lines and the wall shadow layers, in the order the layers
// are painted. Any rectangle of the canvas can be painted from the stamps that
// reach it, so a whole canvas, a band of it or one changed rectangle come out
// the same.
#pragma once

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/Renderer.h"
#include "render/Shortcuts.h"

#include <QImage>
#include <QRect>
#include <QRectF>

#include <cstdint>
#include <vector>

namespace halvorn {

class ShadeTable;
class SpriteCache;

struct Stamp {
    enum Kind : uint8_t {
        Line,    // a black grid line filling `bounds`
        Picture, // `image` put down unscaled at the top-left of `bounds`
        Scaled,  // the `source` part of `image` scaled into `bounds`
        Shade,   // `image` holds per pixel how many wall shadow layers cover it
        Square,  // one wall shadow square, `target`, filled with the shadow colour
    };
    const QImage* image = nullptr;
    QRect bounds; // where it lands (for a scaled draw, every pixel it can touch)
    QRect source;
    QRectF target; // where a scaled draw puts `source`, or a square's corners
    Kind kind = Line;
    bool opaque = false; // covers every pixel of `bounds` fully
};

// What one redraw draws. `zoom` is the view's (it decides how many wall
// shadow layers there are); positions are in device pixels, `Scale()` of
// them per map pixel.
struct View {
    const MapDocument& map;
    const LayerSwitches& layers;
    float zoom;
    float ratio; // device pixels per canvas pixel
    const ShadowParams& shadows;
    bool drawshadows;
    QSize canvas;
    RenderShortcuts taken; // the shortcuts this redraw takes (TakenFor)

    float Scale() const { return zoom * ratio; }
};

// Appends every stamp that reaches `area`, in painting order. The pictures
// live in `sprites` until the redraw's SpriteCache::RedrawScope ends. Wall
// pieces come prepared per phase and shadows as layer counts when the
// shortcuts allow; otherwise as direct scaled draws and single squares.
void CollectStamps(const View& view, QRect area, SpriteCache& sprites, std::vector<Stamp>& out);

// Pixels [left, right] of canvas row y that no opaque stamp covers: only
// they need the white background.
struct WhiteRun {
    int y, left, right;
};

// Keeps in `which` (indices into `stamps`, in painting order) only the
// stamps that reach `area` and, with cover in `taken`, of which some pixel
// there is not covered by later opaque stamps: the others cannot change the
// picture. `parts` receives, for each kept stamp, the rectangle around its
// pixels that can show; `white` the pixels of `area` no opaque stamp covers
// (all of them without the shortcut).
void KeepVisible(const std::vector<Stamp>& stamps, std::vector<int>& which, QRect area,
                 std::vector<QRect>& parts, std::vector<WhiteRun>& white, RenderShortcuts taken);

// Replaces scaled draws of `which` by copies of them drawn at their place on
// a canvas-sized picture, which put down unscaled on the same pixels. With
// placed in `taken`, a picture drawn at the same whole-pixel place before
// comes from the copies kept across redraws (the first time it stays a
// scaled draw). With partial, every other scaled draw is copied too, for
// this redraw only: the raster engine steps a scaled draw's samples from
// the first pixel of each span, so a clip that cuts the draw's rows moves
// them.
void UseScaledCopies(std::vector<Stamp>& stamps, const std::vector<int>& which, QSize canvas,
                     SpriteCache& sprites, RenderShortcuts taken);

// Whether a redraw draws wall shadow layers at all: shadows asked for, a
// zoom with at least one layer and a wall shadow alpha above 0.
bool DrawsWallShadowLayers(float zoom, const ShadowParams& shadows, bool drawshadows);

// Paints the `white` runs of `area` white and then every stamp of `which`
// (indices into `stamps`) within its part of `parts`, clipped to `area`. The
// canvas holds 32-bit pixels (RGB32 or premultiplied ARGB32). `area` must
// lie inside one band of at most 64 rows, so no draw reaches Qt's thread
// pool. Distinct areas may be painted at once. `shade` darkens by the wall
// shadow layers; its alpha is also the colour of single squares.
void PaintArea(uchar* canvasBits, qsizetype bytesPerLine, QImage::Format format, QSize canvas,
               QRect area, const std::vector<WhiteRun>& white, const std::vector<Stamp>& stamps,
               const std::vector<int>& which, const std::vector<QRect>& parts,
               const ShadeTable& shade);

// The rectangles a change to one floor cell or wall point can reach, at
// `scale` device pixels per map pixel.
QRect FloorReach(float scale, int x, int y);
QRect WallReach(float scale, int x, int y);

} // namespace halvorn
