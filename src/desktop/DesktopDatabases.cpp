#include "desktop/DesktopDatabases.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace halvorn {
namespace {

constexpr int StartMs = 2000;
constexpr int FinishMs = 5000;

void RunQuietly(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(StartMs))
        return;
    // Start-up must not hang on a stuck tool.
    if (!process.waitForFinished(FinishMs)) {
        process.kill();
        process.waitForFinished(StartMs);
    }
}

} // namespace

void RefreshDesktopDatabases(const QString& dataHome)
{
    RunQuietly(QStringLiteral("update-mime-database"), {dataHome + QLatin1String("/mime")});
    RunQuietly(QStringLiteral("update-desktop-database"),
               {dataHome + QLatin1String("/applications")});
}

} // namespace halvorn
