// The three kinds of piece a brush lays down, which are also the three kinds
// of library picture: floor tiles, wall pieces and objects. The map tool, the
// library and the main window all name a kind by this one type.
#pragma once

#include <QString>

#include <array>
#include <cstddef>

namespace halvorn {

enum class BrushKind { Floor, Wall, Object };

// All kinds in pane order, for loops.
inline constexpr BrushKind AllBrushKinds[] = {BrushKind::Floor, BrushKind::Wall, BrushKind::Object};

// One value for each kind, indexed by the kind, in place of a field per kind.
template <typename T>
struct PerKind {
    std::array<T, 3> values{};

    constexpr T& operator[](BrushKind kind) { return values[static_cast<std::size_t>(kind)]; }
    constexpr const T& operator[](BrushKind kind) const
    {
        return values[static_cast<std::size_t>(kind)];
    }
    bool operator==(const PerKind&) const = default;
};

// The word a kind goes by in the brush mode and on the status line: "Tile",
// "Wall" or "Object".
QString ModeWord(BrushKind kind);

} // namespace halvorn
