// The run-time copies of the four shadow settings, read at start-up and
// rewritten by the Options dialog; the renderer draws with them.
#pragma once

#include "map/ShadowParams.h"

#include <QString>

#include <cstdint>

namespace halvorn {

extern float ObjectShadowAlpha;    // ObjectShadowTransparency / 100
extern int16_t ObjectShadowOffset; // map pixels
extern int16_t WallShadowAlpha;    // 0..255
extern int16_t WallShadowOffset;   // kept and validated; no drawing reads it

// Conversions from the stored texts. Values a hand-edited store may hold out
// of range are limited to what the drawing can use.
float ObjectShadowAlphaFrom(const QString& text);
int16_t ShadowDistanceFrom(const QString& text);
int16_t WallShadowAlphaFrom(const QString& text);

// Fills the four globals from the store, each with its default.
void LoadShadowSettings();

ShadowParams CurrentShadowParams();

} // namespace halvorn
