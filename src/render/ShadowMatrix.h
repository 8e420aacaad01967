// The colour matrix that turns an object into its drop shadow: every colour
// channel becomes a hundredth of the sum of red, green and blue (almost
// black), and the opacity is scaled by the object shadow alpha.
#pragma once

#include "map/MapDocument.h"
#include "map/Orientation.h"

#include <QImage>

#include <array>
#include <map>
#include <tuple>

namespace halvorn {

// Row i, column j: contribution of input channel i (R, G, B, A, 1) to output j.
using ColorMatrix = std::array<std::array<float, 5>, 5>;

ColorMatrix MakeShadowMatrix(float objectShadowAlpha);

// Every pixel's straight (R, G, B, A, 1) row vector times the matrix, each
// result clamped to 0..255.
QImage ApplyColorMatrix(const QImage& source, const ColorMatrix& matrix);

// Shadows of loaded pictures, kept once made: pictures never change and the
// same few are drawn on every redraw.
class ShadowImages {
public:
    const QImage& Get(ImageHandle image, Orientation orientation, const ColorMatrix& matrix);

private:
    using Key = std::tuple<ImageHandle, Orientation, ColorMatrix>;
    std::map<Key, QImage> cache_;
};

} // namespace halvorn
