// Number rules shared by the whole editor: conversions from floating point
// round to nearest with ties to even, and the two text-to-number readings the
// settings use.
#pragma once

#include <QString>
#include <QStringView>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace halvorn {

// Nearest integer, halves to the even neighbour (the default FP rounding mode).
inline int32_t RoundToInt(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// As RoundToInt, limited to the 16-bit range instead of overflowing: a stored
// value out of range becomes the nearest representable one.
inline int16_t RoundToInt16(double v)
{
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<int16_t>::min()))
        return std::numeric_limits<int16_t>::min();
    if (r > std::numeric_limits<int16_t>::max())
        return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(r);
}

// The number written at the start of a text, the same in every locale: blanks, tabs and line feeds
// are ignored wherever they stand, then an optional sign, digits, an optional "." with digits and
// an optional exponent. A text without such a start is 0.
double Val(QStringView text);

// True when the whole text, the blanks Val skips around it allowed, is one
// number in the C notation or in the user's own number format.
bool IsNumeric(const QString& text);

// The text a settings value is stored as, so that Val reads back what the
// user meant: a text in the C notation stays as typed; one in the user's own
// number format only ("40,5" under a German locale) becomes its value in the
// C notation ("40.5"). Nothing when IsNumeric would refuse the text.
std::optional<QString> StorableNumber(const QString& text);

// The shortest decimal text that reads back as the same value ("40", "0.5").
QString NumberText(double v);

} // namespace halvorn
