#include "Doors.h"

#include "DesktopEntryRules.h"
#include "desktop/FileTypeDocuments.h"
#include "desktop/FileTypeNames.h"
#include "desktop/FileTypeRules.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace halvorn::doors {

namespace {

QString Show(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding("/. "));
}

// The keys, in order, of every entry registration writes.
const QStringList& EntryKeys()
{
    static const QStringList keys{QStringLiteral("Type"),      QStringLiteral("Name"),
                                  QStringLiteral("Comment"),   QStringLiteral("Exec"),
                                  QStringLiteral("Icon"),      QStringLiteral("MimeType"),
                                  QStringLiteral("NoDisplay"), QStringLiteral("Terminal")};
    return keys;
}

} // namespace

QStringList RegistrationDoor(QByteArrayView bytes)
{
    QStringList broken;
    // The program's path as the system hands it over: file name bytes.
    const QString program = QFile::decodeName(bytes.toByteArray());
    const QString folder = QFileInfo(program).path();
    const FileTypeEntry entry =
        ApplyFileTypeRules({QStringLiteral("hvm"), program, folder + QStringLiteral("/hvm.png"),
                            QStringLiteral("Halvorn III Map"), QStringLiteral("Halvorn III Map")});
    const FileTypeNames names = NamesForClass(entry.className);
    const auto fail = [&](const QString& what) {
        broken << what + QStringLiteral(" for ") + Show(program);
    };

    const QByteArray desktop = DesktopEntryText(entry, names);
    const bool writable = std::none_of(program.begin(), program.end(), [](QChar c) {
        return (c.unicode() < 0x20 && !QStringView(u"\n\r\t").contains(c)) || c.unicode() == 0x7f;
    });
    if (desktop.isEmpty() != !writable)
        fail(writable ? QStringLiteral("no entry")
                      : QStringLiteral("an entry for a control character"));
    if (desktop.isEmpty())
        return broken;
    QStringList rules;
    const DesktopEntryLines lines = ParseDesktopEntry(desktop, rules);
    for (const QString& rule : rules)
        fail(rule);
    if (lines.group != QLatin1String("[Desktop Entry]"))
        fail(QStringLiteral("group %1").arg(lines.group));
    QStringList keys;
    for (const auto& [key, value] : lines.keys)
        keys << key;
    // A path that adds, removes or moves a line has broken out of its value.
    if (keys != EntryKeys())
        fail(QStringLiteral("keys %1").arg(keys.join(QLatin1Char(','))));
    for (const auto& [key, value] : lines.keys) {
        const std::optional<QString> plain = UnescapeDesktopString(value);
        if (!plain) {
            fail(QStringLiteral("bad escape in %1").arg(key));
            continue;
        }
        if (key == QLatin1String("Exec")) {
            QStringList why;
            const std::optional<QStringList> args = ExecArguments(*plain, why);
            for (const QString& rule : why)
                fail(QStringLiteral("Exec: ") + rule);
            if (args && *args != QStringList{program, QStringLiteral("%f")})
                fail(QStringLiteral("Exec runs %1").arg(Show(args->join(QLatin1Char('|')))));
        }
    }

    // The MIME package holds no path, but it is written beside the entry on
    // every start and must stay well-formed.
    QXmlStreamReader xml(MimePackageXml(entry, names));
    int globs = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("glob")) {
            ++globs;
            if (xml.attributes().value(QLatin1String("pattern")) != QLatin1String("*.hvm"))
                fail(QStringLiteral("glob %1").arg(
                    xml.attributes().value(QLatin1String("pattern"))));
        }
    }
    if (xml.hasError())
        fail(QStringLiteral("MIME package: %1").arg(xml.errorString()));
    if (globs != 1)
        fail(QStringLiteral("%1 globs").arg(globs));
    return broken;
}

} // namespace halvorn::doors
