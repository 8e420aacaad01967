#include "DesktopEntryRules.h"

#include <QStringDecoder>

namespace halvorn::doors {

namespace {

bool IsControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// Characters that need quotes around an argument.
bool IsReserved(QChar c)
{
    return QStringView(u" \t\n\"'\\><~|&;$*?#()`").contains(c);
}

} // namespace

DesktopEntryLines ParseDesktopEntry(const QByteArray& text, QStringList& broken)
{
    DesktopEntryLines entry;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(text);
    if (utf8.hasError())
        broken << QStringLiteral("entry is not UTF-8");
    if (!decoded.endsWith(QLatin1Char('\n')))
        broken << QStringLiteral("entry does not end with a line break");
    QStringList lines = decoded.split(QLatin1Char('\n'));
    lines.removeLast();
    for (const QString& line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!entry.group.isEmpty())
                broken << QStringLiteral("second group %1").arg(line);
            entry.group = line;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) {
            broken << QStringLiteral("line that is no key: %1").arg(line);
            continue;
        }
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        for (const QChar c : key) {
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-'))
                broken << QStringLiteral("key %1 has a bad character").arg(key);
        }
        for (const QChar c : value) {
            if (IsControl(c)) {
                broken << QStringLiteral("value of %1 holds control character %2")
                              .arg(key)
                              .arg(static_cast<int>(c.unicode()), 2, 16, QLatin1Char('0'));
                break;
            }
        }
        for (const auto& [seen, unused] : entry.keys) {
            if (seen == key)
                broken << QStringLiteral("key %1 twice").arg(key);
        }
        entry.keys.emplace_back(key, value);
    }
    return entry;
}

std::optional<QString> UnescapeDesktopString(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (++i == value.size())
            return std::nullopt;
        switch (value.at(i).unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::optional<QStringList> ExecArguments(const QString& exec, QStringList& broken)
{
    QStringList args;
    qsizetype i = 0;
    const qsizetype n = exec.size();
    while (i < n) {
        if (exec.at(i) == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        QString arg;
        if (exec.at(i) == QLatin1Char('"')) {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = exec.at(i++);
                if (c == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\\')) {
                    if (i == n || !QStringView(u"\"`$\\").contains(exec.at(i))) {
                        broken << QStringLiteral("backslash before a character that needs none");
                        return std::nullopt;
                    }
                    arg += exec.at(i++);
                } else if (c == QLatin1Char('`') || c == QLatin1Char('$')) {
                    broken << QStringLiteral("unescaped %1 inside quotes").arg(c);
                    return std::nullopt;
                } else if (c == QLatin1Char('%')) {
                    if (i == n || exec.at(i) != QLatin1Char('%')) {
                        broken << QStringLiteral("field code inside quotes");
                        return std::nullopt;
                    }
                    arg += exec.at(i++);
                } else {
                    arg += c;
                }
            }
            if (!closed) {
                broken << QStringLiteral("quote not closed");
                return std::nullopt;
            }
            if (i < n && exec.at(i) != QLatin1Char(' ')) {
                broken << QStringLiteral("text right after a closing quote");
                return std::nullopt;
            }
        } else {
            while (i < n && exec.at(i) != QLatin1Char(' ')) {
                const QChar c = exec.at(i++);
                if (IsReserved(c)) {
                    broken << QStringLiteral("reserved %1 outside quotes").arg(c);
                    return std::nullopt;
                }
                if (c == QLatin1Char('%')) {
                    if (i == n) {
                        broken << QStringLiteral("lone %");
                        return std::nullopt;
                    }
                    const QChar code = exec.at(i++);
                    if (code == QLatin1Char('%'))
                        arg += code;
                    else if (QStringView(u"fFuUick").contains(code))
                        arg += QLatin1Char('%') + code;
                    else {
                        broken << QStringLiteral("unknown field code %%1").arg(code);
                        return std::nullopt;
                    }
                } else {
                    arg += c;
                }
            }
        }
        args << arg;
    }
    return args;
}

} // namespace halvorn::doors
