// Where the map lands on the printed page. The canvas is printed at 72 canvas
// pixels per inch on a 300 dpi printer, shrunk to the printable width when it
// is wider, and centred on the printable area. A map taller than the page is
// cut at top and bottom rather than shrunk further, so the scale stays the
// one the width dictates.
#pragma once

#include <QSize>
#include <QSizeF>

#include <cstdint>
#include <optional>

namespace halvorn {

inline constexpr int PrintResolution = 300;

struct PrintPlacement {
    float left = 0; // printer pixels from the printable area's top left
    float top = 0;
    int16_t width = 0;
    int16_t height = 0;
    friend bool operator==(const PrintPlacement&, const PrintPlacement&) = default;
};

// `printable` is the printable area in printer pixels at PrintResolution.
// Empty when a printed size does not fit the 16-bit sizes the printer path uses.
std::optional<PrintPlacement> ComputePrintPlacement(QSize canvas, QSizeF printable);

} // namespace halvorn
