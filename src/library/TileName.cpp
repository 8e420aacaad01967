#include "library/TileName.h"

#include <algorithm>

namespace halvorn {

QString TileDisplayName(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

} // namespace halvorn
