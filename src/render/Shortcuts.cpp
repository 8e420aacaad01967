#include "render/Shortcuts.h"

#include <QStringList>
#include <QtGlobal>

namespace halvorn {

std::string_view ShortcutName(Shortcut shortcut)
{
    switch (shortcut) {
    case Shortcut::Partial:
        return "partial";
    case Shortcut::Cover:
        return "cover";
    case Shortcut::Placed:
        return "placed";
    case Shortcut::Phases:
        return "phases";
    case Shortcut::Counts:
        return "counts";
    case Shortcut::Threads:
        return "threads";
    }
    return {};
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
        for (const Shortcut s : AllShortcuts) {
            const std::string_view n = ShortcutName(s);
            if (name == QLatin1String(n.data(), static_cast<qsizetype>(n.size()))) {
                taken = taken.Without(s);
                known = true;
            }
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
        if (!unknown.isEmpty())
            qWarning("HALVORN_RENDER_DISABLE: unknown shortcut %s (known: partial, cover, placed, "
                     "phases, counts, threads, all)",
                     qUtf8Printable(unknown));
        return s;
    }();
    return configured;
}

QString RenderShortcuts::Describe() const
{
    QStringList off;
    for (const Shortcut s : AllShortcuts)
        if (!On(s)) {
            const std::string_view n = ShortcutName(s);
            off << QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
        }
    return off.isEmpty() ? QStringLiteral("none") : off.join(u',');
}

} // namespace halvorn
