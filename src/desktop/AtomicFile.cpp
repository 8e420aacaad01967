#include "desktop/AtomicFile.h"

#include "storage/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace halvorn {

bool WriteFileAtomically(const QString& path, const QByteArray& contents, bool* rewrote)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    {
        QFile existing(path);
        if (info.isFile() && existing.open(QIODevice::ReadOnly) && existing.readAll() == contents)
            return true;
    }
    if (!WriteFileSafely(path, contents))
        return false;
    if (rewrote)
        *rewrote = true;
    return true;
}

} // namespace halvorn
