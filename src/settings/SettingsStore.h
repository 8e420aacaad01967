// The per-user settings store: text values under the application name
// "Halvorn 3 Tallow Edition", section "Settings". On Linux that is the INI
// file "$XDG_CONFIG_HOME/Halvorn 3 Tallow Edition.conf".
#pragma once

#include <QString>

namespace halvorn {

inline constexpr const char* SettingsApplication = "Halvorn 3 Tallow Edition";
inline constexpr const char* SettingsSection = "Settings";

// The stored text, or `fallback` when the key is missing.
QString GetSetting(const QString& key, const QString& fallback);
// False when the store could not be written (a read-only folder, a full disk).
bool SaveSetting(const QString& key, const QString& value);

// Where the store keeps its values, for telling the user.
QString SettingsLocation();

// The eight keys and their defaults.
namespace keys {
inline constexpr const char* ShowSplash = "ShowSplash";
inline constexpr const char* LocationFloors = "LocationFloors";
inline constexpr const char* LocationObjects = "LocationObjects";
inline constexpr const char* LocationWalls = "LocationWalls";
inline constexpr const char* ObjectShadowTransparency = "ObjectShadowTransparency";
inline constexpr const char* ObjectShadowDistance = "ObjectShadowDistance";
inline constexpr const char* WallShadowTransparency = "WallShadowTransparency";
inline constexpr const char* WallShadowDistance = "WallShadowDistance";
} // namespace keys

namespace defaults {
inline constexpr const char* ShowSplash = "1";
inline constexpr const char* ObjectShadowTransparency = "40";
inline constexpr const char* ObjectShadowDistance = "5";
inline constexpr const char* WallShadowTransparency = "32";
inline constexpr const char* WallShadowDistance = "7";
// Tile folders default to these names, beside the program or in the
// installed tile set (settings/TileFolders.h).
inline constexpr const char* FloorsFolder = "Floors";
inline constexpr const char* ObjectsFolder = "Objects";
inline constexpr const char* WallsFolder = "Walls";
} // namespace defaults

} // namespace halvorn
