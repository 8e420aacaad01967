#include "settings/ShadowSettings.h"

#include "map/Numeric.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace halvorn {

float ObjectShadowAlpha = 0.4f;
int16_t ObjectShadowOffset = 5;
int16_t WallShadowAlpha = 32;
int16_t WallShadowOffset = 7;

float ObjectShadowAlphaFrom(const QString& text)
{
    return std::clamp(static_cast<float>(Val(text) / 100.0), 0.0f, 1.0f);
}

int16_t ShadowDistanceFrom(const QString& text)
{
    return RoundToInt16(Val(text));
}

int16_t WallShadowAlphaFrom(const QString& text)
{
    return static_cast<int16_t>(std::clamp<int>(RoundToInt16(Val(text)), 0, 255));
}

void LoadShadowSettings()
{
    const auto stored = [](const char* key, const char* fallback) {
        return GetSetting(QLatin1String(key), QLatin1String(fallback));
    };
    ObjectShadowAlpha = ObjectShadowAlphaFrom(
        stored(keys::ObjectShadowTransparency, defaults::ObjectShadowTransparency));
    ObjectShadowOffset =
        ShadowDistanceFrom(stored(keys::ObjectShadowDistance, defaults::ObjectShadowDistance));
    WallShadowAlpha =
        WallShadowAlphaFrom(stored(keys::WallShadowTransparency, defaults::WallShadowTransparency));
    WallShadowOffset =
        ShadowDistanceFrom(stored(keys::WallShadowDistance, defaults::WallShadowDistance));
}

ShadowParams CurrentShadowParams()
{
    return ShadowParams{ObjectShadowAlpha, ObjectShadowOffset, WallShadowAlpha};
}

} // namespace halvorn
