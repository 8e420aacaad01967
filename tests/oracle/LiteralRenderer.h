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
void LiteralRedraw(QImage& canvas, const MapDocument& map, const LayerSwitches& layers,
                   float zoom, const ShadowParams& shadows, bool drawshadows);

// Largest difference of any channel (A, R, G, B of straight ARGB32) of any pixel; INT_MAX when sizes differ.
int MaxChannelDifference(const QImage& a, const QImage& b);

} // namespace halvorn::oracle
