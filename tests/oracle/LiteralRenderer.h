// The plain renderer the fast one is measured against: it draws the whole map
// step by step exactly as a redraw is defined, with no caches and no
// shortcuts, so it is slow and obviously right. Tests, benchmarks and the
// random-use tester compare the program's canvas with its picture.
#pragma once

#include "map/LayerSwitches.h"
#include "map/MapDocument.h"
#include "render/Renderer.h"

#include <QImage>

namespace halvorn::oracle {

// Draws the whole map step by step exactly as written for Redraw: no caches, no shortcuts.
// At a device pixel ratio other than 1 every position and size is laid out
// at zoom x ratio and rounded in device pixels; a grid line is the ratio
// rounded (at least 1) device pixels wide, a wall piece overlaps its
// neighbours by half a canvas pixel, and the zoom alone decides the number
// of wall shadow layers.
void LiteralRedraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers, float zoom,
                   const ShadowParams& shadows, bool drawshadows, float ratio = 1.0f);

// Largest difference of any channel (A, R, G, B of straight ARGB32) of any pixel; INT_MAX when
// sizes differ.
int MaxChannelDifference(const QImage& a, const QImage& b);

} // namespace halvorn::oracle
