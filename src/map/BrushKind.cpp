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

} // namespace halvorn
