#include "render/Shortcuts.h"

#include <QStringList>
#include <QtGlobal>

namespace halvorn {

QString ShortcutWord(Shortcut shortcut)
{
    const std::string_view name = ShortcutName(shortcut);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

RenderShortcuts RenderShortcuts::Disabling(QString names, QString* unknown)
{
    RenderShortcuts taken;
    QStringList wrong;
    for (const QString& word : names.split(u',', Qt::SkipEmptyParts)) {
        const QString name = word.trimmed().toLower();
        if (name == QLatin1String("all")) {
            taken = AllOff();
            continue;
        }
        bool known = false;
        for (const Shortcut s : AllShortcuts)
            if (name == ShortcutWord(s)) {
                taken = taken.Without(s);
                known = true;
            }
        if (!known && !name.isEmpty())
            wrong << name;
    }
    if (unknown)
        *unknown = wrong.join(u',');
    return taken;
}

RenderShortcuts RenderShortcuts::FromEnvironment()
{
    static const RenderShortcuts configured = [] {
        QString unknown;
        const RenderShortcuts s =
            Disabling(qEnvironmentVariable("HALVORN_RENDER_DISABLE"), &unknown);
        if (!unknown.isEmpty()) {
            QStringList known;
            for (const Shortcut k : AllShortcuts)
                known << ShortcutWord(k);
            qWarning("HALVORN_RENDER_DISABLE: unknown shortcut %s (known: %s, all)",
                     qUtf8Printable(unknown), qUtf8Printable(known.join(QStringLiteral(", "))));
        }
        return s;
    }();
    return configured;
}

QString RenderShortcuts::Describe() const
{
    QStringList off;
    for (const Shortcut s : AllShortcuts)
        if (!On(s))
            off << ShortcutWord(s);
    return off.isEmpty() ? QStringLiteral("none") : off.join(u',');
}

} // namespace halvorn
