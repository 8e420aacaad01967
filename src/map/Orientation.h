// Orientation codes 0..7 of a drawn picture: 0..3 turn it by 0, 90, 180 and
// 270 degrees clockwise, 4..7 do the same and then mirror it left to right.
// Pictures stay as loaded; the code is applied to a copy when drawing.
#pragma once

#include <cstdint>

namespace halvorn {

using Orientation = int32_t;

constexpr Orientation FlipHorizontally(Orientation c)
{
    return c ^ 4;
}
constexpr Orientation FlipVertically(Orientation c)
{
    return c ^ 6;
}

// A quarter turn clockwise of the picture as shown: the unmirrored codes count
// up, the mirrored ones count down, each within its group of four.
constexpr Orientation RotateRight(Orientation c)
{
    return c < 4 ? (c + 1) % 4 : 4 + (c - 4 + 3) % 4;
}

constexpr Orientation RotateLeft(Orientation c)
{
    return c < 4 ? (c + 3) % 4 : 4 + (c - 4 + 1) % 4;
}

// Codes 1, 3, 5 and 7 swap the width and height of the picture.
constexpr bool SwapsSides(Orientation c)
{
    return (c & 1) != 0;
}

} // namespace halvorn
