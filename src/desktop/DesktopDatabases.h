// Asking the desktop to re-read the per-user MIME and application folders.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QProcess;

namespace halvorn {

// Runs update-mime-database on <dataHome>/mime, then update-desktop-database
// on <dataHome>/applications, each only when installed, in the background:
// nothing here ever waits on the calling (user-interface) thread. A tool still
// running after a few seconds is stopped. Failures are ignored: the files are
// in place, and desktops also rescan them on their own.
//
// The refresh belongs to the application object and deletes itself when the
// last tool has ended; while it runs it can be found as the application's
// child named "DesktopDatabaseRefresh", and a second call queues its tools
// behind the running ones rather than running beside them. Returns the
// refresh, or nullptr when neither tool is installed.
QObject* RefreshDesktopDatabases(const QString& dataHome);

class DesktopDatabaseRefresh : public QObject {
    Q_OBJECT
public:
    // Each step is a program (found on PATH) and its arguments.
    using Step = std::pair<QString, QStringList>;
    DesktopDatabaseRefresh(std::vector<Step> steps, QObject* parent);
    ~DesktopDatabaseRefresh() override;

    // Runs these after the ones queued, skipping any already waiting.
    void Queue(const std::vector<Step>& steps);

private:
    void StartNext();
    void Finished();

    std::vector<Step> steps_;
    size_t next_ = 0;
    QProcess* process_ = nullptr; // owned through Qt parenting
};

} // namespace halvorn
