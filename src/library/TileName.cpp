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
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            c = QChar(char16_t(0x2400 + u)); // the Control Pictures: U+240A for a line feed
        else if (u == 0x7f)
            c = QChar(char16_t(0x2421));
        else if ((u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
            c = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace halvorn
