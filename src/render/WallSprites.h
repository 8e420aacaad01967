// Wall pieces and their stacked shadows drawn once per zoom and sub-pixel
// phase, then copied into place. A full map has thousands of wall points, and
// scaling each piece and blending seven shadow squares for each of them
// anew is most of a redraw's cost. The copies land on the same pixels as
// drawing directly, because both depend only on the position's fraction.
#pragma once

#include "map/MapDocument.h"

#include <QImage>
#include <QPoint>

#include <map>
#include <tuple>

namespace halvorn {

// A picture and where its top-left goes, relative to the floor of the position.
struct Sprite {
    QImage image;
    QPoint offset;
};

class WallSprites {
public:
    // The piece drawn (s + 0.5) square at (left, top), s = 18 z.
    const Sprite& Piece(ImageHandle image, float zoom, float left, float top);
    // The shadow layers of a wall point at (cx, cy): squares of s at
    // (cx - n z, cy - n z) for each layer n the zoom shows, in `alpha`.
    const Sprite& Shadow(float zoom, float cx, float cy, int alpha);

private:
    using PieceKey = std::tuple<ImageHandle, float, float, float>;
    using ShadowKey = std::tuple<float, float, float, int>;
    std::map<PieceKey, Sprite> pieces_;
    std::map<ShadowKey, Sprite> shadows_;
};

// The first shadow layer drawn at a zoom (9 = none): fewer layers at smaller
// zoom make a shorter shadow.
int FirstShadowLayer(float zoom);

} // namespace halvorn
