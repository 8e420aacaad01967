#include "output/PrintPlacement.h"

#include <cmath>
#include <limits>

namespace halvorn {

namespace {

// Nearest, ties to even, as the printer sizes have always been rounded.
std::optional<int16_t> Round16(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int16_t>::min() ||
        rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

} // namespace

std::optional<PrintPlacement> ComputePrintPlacement(QSize canvas, QSizeF printable)
{
    const double k = PrintResolution / 72.0;
    const double printableWidth = printable.width();
    const double printableHeight = printable.height();
    const auto fullWidth = static_cast<float>(canvas.width() * k);

    std::optional<int16_t> width;
    std::optional<int16_t> height;
    if (printableWidth < fullWidth) {
        const auto scale = static_cast<float>(printableWidth / (canvas.width() * k));
        width = Round16(printableWidth);
        height = Round16(canvas.height() * static_cast<double>(scale) * k);
    } else {
        width = Round16(canvas.width() * k);
        height = Round16(canvas.height() * k);
    }
    if (!width || !height)
        return std::nullopt;

    PrintPlacement placement;
    placement.width = *width;
    placement.height = *height;
    placement.left = static_cast<float>(printableWidth) / 2.0f - static_cast<float>(*width) / 2.0f;
    placement.top = static_cast<float>(printableHeight) / 2.0f - static_cast<float>(*height) / 2.0f;
    return placement;
}

} // namespace halvorn
