#include "settings/IniText.h"

#include <QStringList>

namespace halvorn {

namespace {

// QSettings strips only spaces and tabs around keys and values; a no-break
// space or any other Unicode blank is part of what the user wrote.
QStringView BlanksTrimmed(QStringView v)
{
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (!v.isEmpty() && blank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && blank(v.back()))
        v.chop(1);
    return v;
}

bool IsHex(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// The lines of the file, a line ending in an unescaped backslash joined
// with the next one as QSettings does.
QStringList Lines(const QByteArray& file)
{
    QString text = QString::fromUtf8(file);
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    QString pending;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        qsizetype slashes = 0;
        while (slashes < line.size() && line.at(line.size() - 1 - slashes) == QLatin1Char('\\'))
            ++slashes;
        if (slashes % 2 == 1) {
            pending += line.left(line.size() - 1);
            continue;
        }
        lines << pending + line;
        pending.clear();
    }
    if (!pending.isEmpty())
        lines << pending;
    return lines;
}

} // namespace

std::optional<QString> IniValueText(const QByteArray& file, QStringView section, QStringView key)
{
    std::optional<QString> found;
    QString current;
    for (const QString& line : Lines(file)) {
        const QStringView l = BlanksTrimmed(line);
        if (l.isEmpty() || l.front() == QLatin1Char(';') || l.front() == QLatin1Char('#'))
            continue;
        if (l.front() == QLatin1Char('[')) {
            const qsizetype close = l.indexOf(QLatin1Char(']'));
            current = BlanksTrimmed(close < 0 ? l.mid(1) : l.mid(1, close - 1)).toString();
            continue;
        }
        const qsizetype equals = l.indexOf(QLatin1Char('='));
        if (equals < 0 || current != section || BlanksTrimmed(l.left(equals)) != key)
            continue;
        found = UnescapeIniValue(l.mid(equals + 1));
    }
    return found;
}

namespace {

// Quotes and backslash escapes undone.
QString Unescaped(QStringView v)
{
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v.at(i);
        if (c == QLatin1Char('"'))
            continue; // quotes only keep commas and blanks as they are

        if (c != QLatin1Char('\\') || i + 1 == v.size()) {
            out += c;
            continue;
        }
        const QChar e = v.at(++i);
        switch (e.unicode()) {
        case 'a':
            out += QChar(0x07);
            break;
        case 'b':
            out += QChar(0x08);
            break;
        case 'f':
            out += QChar(0x0c);
            break;
        case 'n':
            out += QChar(0x0a);
            break;
        case 'r':
            out += QChar(0x0d);
            break;
        case 't':
            out += QChar(0x09);
            break;
        case 'v':
            out += QChar(0x0b);
            break;
        case 'x': {
            // As many hex digits as follow: QSettings escapes a hex digit
            // written right after an escape.
            char32_t code = 0;
            while (i + 1 < v.size() && IsHex(v.at(i + 1)) && code <= 0xffff)
                code = code * 16 + static_cast<char32_t>(QString(v.at(++i)).toUInt(nullptr, 16));
            out += QChar(static_cast<char16_t>(code));
            break;
        }
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
            char32_t code = e.unicode() - '0';
            while (i + 1 < v.size() && v.at(i + 1) >= QLatin1Char('0') &&
                   v.at(i + 1) <= QLatin1Char('7') && code <= 0xffff)
                code = code * 8 + (v.at(++i).unicode() - '0');
            out += QChar(static_cast<char16_t>(code));
            break;
        }
        default: // \\ \" \' \? \; \, and any other: the character itself
            out += e;
        }
    }
    return out;
}

} // namespace

QString UnescapeIniValue(QStringView raw)
{
    const QStringView v = BlanksTrimmed(raw);
    const QString text = Unescaped(v);
    // QSettings writes a text with a NUL in it as "@String(...)" and one that
    // starts with "@" as "@@...". Any other "@" form was written by hand and
    // is taken as it stands, backslashes and all.
    if (text.startsWith(QLatin1String("@String(")) && text.endsWith(QLatin1Char(')')))
        return text.mid(8, text.size() - 9);
    if (v.startsWith(QLatin1Char('@')) && !v.startsWith(QLatin1String("@@")))
        return v.toString();
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    return text;
}

} // namespace halvorn
