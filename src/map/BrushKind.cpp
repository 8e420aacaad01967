#include "map/BrushKind.h"

namespace halvorn {

QString ModeWord(BrushKind kind)
{
    switch (kind) {
    case BrushKind::Wall:
        return QStringLiteral("Wall");
    case BrushKind::Object:
        return QStringLiteral("Object");
    case BrushKind::Floor:
        break;
    }
    return QStringLiteral("Tile");
}

std::optional<BrushKind> BrushKindOf(const QString& word)
{
    for (const BrushKind kind : AllBrushKinds)
        if (word == ModeWord(kind))
            return kind;
    return std::nullopt;
}

} // namespace halvorn
