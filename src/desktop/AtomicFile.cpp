#include "desktop/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    if (rewrote)
        *rewrote = true;
    return true;
}

} // namespace halvorn
