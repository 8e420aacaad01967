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
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        // An unpaired surrogate is a byte of a file name that is not UTF-8.
        const bool unpaired =
            (QChar::isHighSurrogate(u) &&
             (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate())) ||
            (QChar::isLowSurrogate(u) && (i == 0 || !text.at(i - 1).isHighSurrogate()));
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029 || unpaired)
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

} // namespace halvorn
