#include "library/TileName.h"

#include <algorithm>

namespace halvorn {

QString TileDisplayName(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return VisibleControls(name.left(std::max<qsizetype>(0, name.size() - 4)));
}

QString VisibleControls(QString text)
{
    // The replacement character, which every desktop font has: the Control
    // Pictures (U+2400 ...) would say which character it was, but the usual
    // fonts (DejaVu Sans among them) draw them as empty boxes.
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)
            c = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace halvorn
