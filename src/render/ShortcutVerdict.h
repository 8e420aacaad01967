// Which renderer shortcuts the window may take on the Qt it runs on. On a
// release the shortcuts were verified on, those configured; on any other,
// the probe check (ShortcutCheck.h) runs once on a thread of its own, and
// until it ends every redraw takes the plain path, so neither the window's
// first paint nor any redraw waits for it.
#pragma once

#include "render/ShortcutCheck.h"
#include "render/Shortcuts.h"

#include <QString>

#include <future>
#include <optional>
#include <vector>

namespace halvorn {

class ShortcutVerdict {
public:
    // Checks at every ratio of `ratios` when `qtVersion` is not verified, or
    // always when `force` is set.
    ShortcutVerdict(RenderShortcuts configured, const QString& qtVersion, std::vector<float> ratios,
                    bool force = false, ProbeDrawer draw = DrawShortcutProbe);
    // Waits for a check still running: it draws a small map and ends by itself.
    ~ShortcutVerdict();
    ShortcutVerdict(const ShortcutVerdict&) = delete;
    ShortcutVerdict& operator=(const ShortcutVerdict&) = delete;

    bool Checking() const { return checked_.valid(); }
    // What a redraw may take now; never waits.
    RenderShortcuts Current() const;
    // What a redraw may take once the check has ended; waits for it.
    RenderShortcuts Final() const;
    // The line written to standard error when the check switched shortcuts
    // off ("" otherwise, or while it runs).
    QString Report() const;

private:
    const RenderShortcuts configured_;
    const QString qtVersion_;
    std::shared_future<RenderShortcuts> checked_;
};

// The line the program writes when the check on `qtVersion` kept `kept` of `configured`.
QString ShortcutReport(const QString& qtVersion, RenderShortcuts configured, RenderShortcuts kept);

} // namespace halvorn
