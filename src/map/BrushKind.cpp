#include "map/BrushKind.h"

namespace halvorn {

QString ModeWord(BrushKind kind)
{
    constexpr PerKind<const char*> words{{"Tile", "Wall", "Object"}};
    return QString::fromLatin1(words[kind]);
}

} // namespace halvorn
