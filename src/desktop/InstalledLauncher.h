// Whether the program was installed with a launcher of its own that already
// opens a document type. The per-user registration then adds no second
// launcher, which "Open With" lists would show beside the installed one.
#pragma once

#include <QString>

namespace halvorn {

// True when a desktop file named after the application id, in any of the
// desktop's application folders ($XDG_DATA_HOME and $XDG_DATA_DIRS), starts
// the program at programPath (by its path, or by a name found on PATH; links
// resolved) and lists mimeType among its MimeType values.
bool InstalledLauncherOpens(const QString& programPath, const QString& mimeType);

} // namespace halvorn
