#include "desktop/FileTypeNames.h"

namespace halvorn {

FileTypeNames NamesForClass(const QString& className)
{
    QString id;
    bool pendingDash = false;
    for (const QChar c : className.toLower()) {
        const bool keep = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                          (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (!keep) {
            pendingDash = !id.isEmpty();
            continue;
        }
        if (pendingDash)
            id += QLatin1Char('-');
        pendingDash = false;
        id += c;
    }
    if (id.isEmpty())
        id = QStringLiteral("document");
    const QString mime = QStringLiteral("application/x-") + id;
    return {id, mime, QStringLiteral("application-x-") + id};
}

} // namespace halvorn
