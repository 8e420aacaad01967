// The three kinds of piece a brush lays down, which are also the three kinds
// of library picture: floor tiles, wall pieces and objects. The map tool, the
// library and the main window all name a kind by this one type.
#pragma once

#include <QString>

#include <optional>

namespace halvorn {

enum class BrushKind { Floor, Wall, Object };

// All kinds in pane order, for loops.
inline constexpr BrushKind AllBrushKinds[] = {BrushKind::Floor, BrushKind::Wall, BrushKind::Object};

// The word a kind goes by in the brush mode and on the status line: "Tile",
// "Wall" or "Object".
QString ModeWord(BrushKind kind);

// The kind a mode word names, compared exactly (case and all); none for any
// other word.
std::optional<BrushKind> BrushKindOf(const QString& word);

} // namespace halvorn
