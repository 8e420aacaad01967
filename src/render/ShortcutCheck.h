// The renderer's shortcuts checked against the Qt the program runs on. Each
// shortcut rests on how Qt's raster engine fills, scales and blends (see
// Shortcuts.h), which Qt documents for none of them; they were verified on
// the Qt versions below by the whole render test suite. On any other Qt the
// program draws a small probe map once with each shortcut alone and with
// none, and keeps only the shortcuts that give the plain pictures.
#pragma once

#include "map/MapDocument.h"
#include "render/Shortcuts.h"

#include <QImage>
#include <QStringView>

#include <array>
#include <functional>
#include <vector>

namespace halvorn {

struct QtRelease {
    int major;
    int minor;
};

// The releases (every patch level of each) the render tests passed on with
// each shortcut on and off: Debian 12's 6.4, Debian 13's 6.8 and 6.11 of
// Debian testing.
inline constexpr std::array<QtRelease, 3> VerifiedQtReleases{{{6, 4}, {6, 8}, {6, 11}}};

// True for a version text ("6.8.2", as qVersion() gives it) of a verified release.
bool QtVersionVerified(QStringView version);

// A small map that takes every shortcut's path: floors that cover each other,
// walls across pixel phases with their shadows, objects with shadows, tall
// enough for two bands at the smallest zoom; and the pictures its strokes paint.
struct ShortcutProbe {
    MapDocument map;
    ImageHandle strokeFloor = 0;
    ImageHandle strokeWall = 0;
};
// A picture of w x h whose every pixel differs, so a sample taken one pixel
// off shows; `holes` adds a see-through corner and a half-transparent band
// for the blends. Added to the imaging layer's table.
ImageHandle ProbePicture(int w, int h, int seed, bool holes);

ShortcutProbe MakeShortcutProbe();

// The probe drawn as the window draws it, at every zoom and at `ratio`:
// a whole redraw, a stroke's partial redraws, the quick redraw without
// shadows and the redraws that reuse what the earlier ones prepared. One
// picture per step.
std::vector<QImage> DrawShortcutProbe(const ShortcutProbe& probe, RenderShortcuts shortcuts,
                                      float ratio);

using ProbeDrawer =
    std::function<std::vector<QImage>(const ShortcutProbe&, RenderShortcuts, float)>;

// `candidates` less every shortcut whose probe pictures, drawn with it
// alone, differ by more than 1 of 255 from those drawn with none, at any
// of `ratios`.
RenderShortcuts CheckShortcuts(RenderShortcuts candidates, const std::vector<float>& ratios,
                               const ProbeDrawer& draw = DrawShortcutProbe);

} // namespace halvorn
