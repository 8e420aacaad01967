// Asking the desktop to re-read the per-user MIME and application folders.
#pragma once

#include <QString>

namespace halvorn {

// Runs update-mime-database on <dataHome>/mime and update-desktop-database on
// <dataHome>/applications, each only when installed and for at most a few
// seconds. Failures are ignored: the files are in place, and desktops also
// rescan them on their own.
void RefreshDesktopDatabases(const QString& dataHome);

} // namespace halvorn
