#include "settings/ShadowTexts.h"

#include "map/Numeric.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace halvorn {

ShadowText UsableDistance(const QString& text)
{
    // A number that rounds outside 16 bits could be stored but never used.
    const ShadowText stored = StorableNumber(text);
    if (!stored)
        return std::nullopt;
    const double r = std::nearbyint(Val(*stored));
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return stored;
}

ShadowText NumberInRange(const QString& text, double high)
{
    const ShadowText stored = StorableNumber(text);
    if (!stored)
        return std::nullopt;
    const double v = Val(*stored);
    if (v < 0.0 || v > high)
        return std::nullopt;
    return stored;
}

} // namespace halvorn
