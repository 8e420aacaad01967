// How strong the drop shadows of objects and walls are: the user's Options,
// read by the renderer. Plain values, so the settings need no renderer.
#pragma once

#include <cstdint>

namespace halvorn {

struct ShadowParams {
    float ObjectShadowAlpha = 0.4f; // 0..1, object shadow opacity factor
    int16_t ObjectShadowOffset = 5; // map pixels right and down
    int16_t WallShadowAlpha = 32;   // 0..255, opacity of each wall shadow layer
};

} // namespace halvorn
