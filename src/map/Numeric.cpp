#include "map/Numeric.h"

#include <QLocale>

#include <charconv>
#include <string>
#include <system_error>

namespace halvorn {

namespace {

// The blanks Val skips; the whole-text test allows exactly these around a
// number, so that a text it accepts reads as the same number.
bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

double Val(QStringView text)
{
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (IsBlank(c))
            continue;
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '?');
    }

    size_t i = 0;
    const auto digits = [&] {
        const size_t start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0.0;
    size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() > 0)
            end = i;
    }
    // from_chars reads "." in every locale (strtod would follow the one the
    // application set, and read "5.6" as 5 under a decimal comma), and it
    // never sees more than the validated prefix, so it cannot read
    // hexadecimal, "inf" or "nan". Out of range is not a number.
    // from_chars takes "-" but not "+".
    const size_t first = s[0] == '+' ? 1 : 0;
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data() + first, s.data() + end, v);
    if (ec != std::errc() || ptr != s.data() + end)
        return 0.0;
    return std::isfinite(v) ? v : 0.0;
}

bool IsNumeric(const QString& text)
{
    return StorableNumber(text).has_value();
}

std::optional<QString> StorableNumber(const QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && IsBlank(text.at(first)))
        ++first;
    while (end > first && IsBlank(text.at(end - 1)))
        --end;
    const QString t = text.mid(first, end - first);
    // The number parsers below skip every kind of space around a number,
    // while Val stops at a form feed or a no-break space.
    if (t.isEmpty() || t.front().isSpace() || t.back().isSpace())
        return std::nullopt;
    bool ok = false;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    const double inC = c.toDouble(t, &ok);
    QLocale user = QLocale::system();
    if (ok) {
        // Where "." groups digits ("1.000" is a thousand in German) a text
        // that reads as another number with its groups is refused: the user
        // may have meant either.
        QLocale grouping = user;
        grouping.setNumberOptions(QLocale::DefaultNumberOptions);
        bool grouped = false;
        const double withGroups = grouping.toDouble(t, &grouped);
        if (user.groupSeparator() == c.decimalPoint() && grouped && withGroups != inC)
            return std::nullopt;
        return std::isfinite(inC) ? std::optional<QString>(text) : std::nullopt;
    }
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    const double inUsers = user.toDouble(t, &ok);
    if (!ok || !std::isfinite(inUsers))
        return std::nullopt;
    return NumberText(inUsers);
}

QString NumberText(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace halvorn
