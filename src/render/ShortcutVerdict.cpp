#include "render/ShortcutVerdict.h"

#include <QStringList>

#include <chrono>
#include <cstdio>
#include <utility>

namespace halvorn {

QString ShortcutReport(const QString& qtVersion, RenderShortcuts configured, RenderShortcuts kept)
{
    QStringList off;
    for (const Shortcut s : AllShortcuts)
        if (configured.On(s) && !kept.On(s))
            off << ShortcutWord(s);
    if (off.isEmpty())
        return {};
    return QStringLiteral("halvorn3: Qt %1 draws the map differently with the renderer "
                          "shortcuts %2; they are off for this run.")
        .arg(qtVersion, off.join(QStringLiteral(", ")));
}

ShortcutVerdict::ShortcutVerdict(RenderShortcuts configured, const QString& qtVersion,
                                 std::vector<float> ratios, bool force, ProbeDrawer draw)
    : configured_(configured), qtVersion_(qtVersion)
{
    if (!force && QtVersionVerified(qtVersion))
        return;
    checked_ = std::async(std::launch::async, [configured, qtVersion, ratios = std::move(ratios),
                                               draw = std::move(draw)] {
                   // A check that cannot finish proves nothing: the plain path.
                   RenderShortcuts kept = RenderShortcuts::AllOff();
                   try {
                       kept = CheckShortcuts(configured, ratios, draw);
                   } catch (...) {
                   }
                   const QString report = ShortcutReport(qtVersion, configured, kept);
                   if (!report.isEmpty())
                       std::fprintf(stderr, "%s\n", qUtf8Printable(report));
                   return kept;
               }).share();
}

ShortcutVerdict::~ShortcutVerdict()
{
    if (checked_.valid())
        checked_.wait();
}

RenderShortcuts ShortcutVerdict::Current() const
{
    if (!checked_.valid())
        return configured_;
    if (checked_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return RenderShortcuts::AllOff();
    return checked_.get();
}

RenderShortcuts ShortcutVerdict::Final() const
{
    return checked_.valid() ? checked_.get() : configured_;
}

QString ShortcutVerdict::Report() const
{
    if (!checked_.valid() ||
        checked_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return {};
    return ShortcutReport(qtVersion_, configured_, checked_.get());
}

} // namespace halvorn
