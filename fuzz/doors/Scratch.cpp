#include "Doors.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace halvorn::doors {

namespace {

QString ScratchTemplate()
{
    // Memory-backed when the system has it: the doors write files on every
    // input.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    if (shm.isDir() && shm.isWritable())
        return QStringLiteral("/dev/shm/halvorn-fuzz-XXXXXX");
    return QDir::tempPath() + QStringLiteral("/halvorn-fuzz-XXXXXX");
}

} // namespace

QString ScratchFolder()
{
    static const QTemporaryDir dir(ScratchTemplate());
    return dir.path();
}

void PrepareProcess()
{
    qputenv("XDG_CONFIG_HOME", (ScratchFolder() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (ScratchFolder() + QStringLiteral("/data")).toLocal8Bit());
    QDir().mkpath(ScratchFolder() + QStringLiteral("/config"));
}

} // namespace halvorn::doors
