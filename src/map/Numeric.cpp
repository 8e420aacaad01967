#include "map/Numeric.h"

#include <QLocale>

#include <string>

namespace halvorn {

double Val(QStringView text)
{
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
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
    // strtod never sees more than the validated prefix, so it cannot read
    // hexadecimal, "inf" or "nan".
    const double v = std::strtod(s.substr(0, end).c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

bool IsNumeric(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    double v = c.toDouble(t, &ok);
    if (!ok) {
        QLocale user = QLocale::system();
        user.setNumberOptions(QLocale::RejectGroupSeparator);
        v = user.toDouble(t, &ok);
    }
    return ok && std::isfinite(v);
}

QString NumberText(double v)
{
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace halvorn
