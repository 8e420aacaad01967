#include "desktop/InstalledLauncher.h"

#include "desktop/ApplicationId.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace halvorn {
namespace {

struct LauncherKeys {
    QString exec;
    QStringList mimeTypes;
};

// The string-level escapes of a desktop file value.
QString Unescape(QStringView value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

LauncherKeys ReadLauncher(const QString& path)
{
    LauncherKeys keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inMainGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = Unescape(QStringView(line).mid(eq + 1).trimmed());
        if (key == QLatin1String("Exec"))
            keys.exec = value;
        else if (key == QLatin1String("MimeType"))
            keys.mimeTypes = value.split(u';', Qt::SkipEmptyParts);
    }
    return keys;
}

// The program of an Exec value: its first argument, quoted or not.
QString ExecProgram(const QString& exec)
{
    if (!exec.startsWith(u'"'))
        return exec.section(u' ', 0, 0);
    QString program;
    for (qsizetype i = 1; i < exec.size(); ++i) {
        if (exec[i] == u'"')
            return program;
        if (exec[i] == u'\\' && i + 1 < exec.size())
            ++i;
        program += exec[i];
    }
    return {}; // no closing quote: not a launcher that starts anything
}

QString CanonicalProgram(const QString& program)
{
    if (program.isEmpty())
        return {};
    const QString found =
        program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    return found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
}

} // namespace

bool InstalledLauncherOpens(const QString& programPath, const QString& mimeType)
{
    const QString running = QFileInfo(programPath).canonicalFilePath();
    if (running.isEmpty())
        return false;
    const QString name = QLatin1String(ApplicationId) + QLatin1String(".desktop");
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QString path = folder + u'/' + name;
        if (!QFileInfo::exists(path))
            continue;
        const LauncherKeys keys = ReadLauncher(path);
        if (keys.mimeTypes.contains(mimeType) &&
            CanonicalProgram(ExecProgram(keys.exec)) == running)
            return true;
    }
    return false;
}

} // namespace halvorn
