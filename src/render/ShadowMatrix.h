// The colour matrix that turns an object into its drop shadow: every colour
// channel becomes a hundredth of the sum of red, green and blue (almost
// black), and the opacity is scaled by the object shadow alpha.
#pragma once

#include <QImage>

#include <array>

namespace halvorn {

// Row i, column j: contribution of input channel i (R, G, B, A, 1) to output j.
using ColorMatrix = std::array<std::array<float, 5>, 5>;

ColorMatrix MakeShadowMatrix(float objectShadowAlpha);

// Every pixel's straight (R, G, B, A, 1) row vector times the matrix, each
// result rounded and clamped to 0..255; the result is straight (not
// premultiplied) ARGB, as the matrix makes it. Scaled, a straight picture is
// filtered more finely than a premultiplied one, so the two differ by a few
// levels on gradients.
QImage ApplyColorMatrix(const QImage& source, const ColorMatrix& matrix);

} // namespace halvorn
