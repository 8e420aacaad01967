#include "desktop/FileTypeRules.h"

namespace halvorn {

FileTypeEntry ApplyFileTypeRules(FileTypeEntry entry)
{
    if (!entry.extension.contains(QLatin1Char('.')))
        entry.extension.prepend(QLatin1Char('.'));
    if (entry.iconPath.trimmed().isEmpty())
        entry.iconPath = entry.commandPath;
    const QString upper = entry.iconPath.toUpper();
    if (upper.endsWith(QLatin1String(".EXE")) || upper.endsWith(QLatin1String(".DLL")))
        entry.iconPath += QLatin1String(",0");
    if (entry.className.isEmpty())
        entry.className = QStringLiteral("Reg.Application");
    if (entry.description.isEmpty())
        entry.description = QStringLiteral("RegDescription");
    return entry;
}

} // namespace halvorn
