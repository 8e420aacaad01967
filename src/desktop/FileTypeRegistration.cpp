#include "desktop/FileTypeRegistration.h"

#include "desktop/AtomicFile.h"
#include "desktop/DesktopDatabases.h"
#include "desktop/FileTypeDocuments.h"
#include "desktop/FileTypeIcon.h"
#include "desktop/FileTypeNames.h"
#include "desktop/FileTypeRules.h"
#include "desktop/InstalledLauncher.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <array>
#include <utility>

namespace halvorn {
namespace {

constexpr std::array<int, 6> IconSizes{16, 32, 48, 64, 128, 256};

QByteArray PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

bool InstallIcons(const QString& dataHome, const FileTypeEntry& entry, const FileTypeNames& names,
                  bool* rewrote)
{
    for (const int size : IconSizes) {
        const QByteArray png = PngBytes(FileTypeIconImage(entry.iconPath, size));
        if (png.isEmpty())
            return false;
        const QString folder = QStringLiteral("%1/icons/hicolor/%2x%2/").arg(dataHome).arg(size);
        // The same picture serves the program (Icon= of the desktop entry)
        // and the document type (the MIME type's icon).
        for (const char* context : {"apps", "mimetypes"}) {
            const QString path = folder + QLatin1String(context) + QLatin1Char('/') +
                                 names.iconName + QLatin1String(".png");
            if (!WriteFileAtomically(path, png, rewrote))
                return false;
        }
    }
    return true;
}

bool Register(FileTypeEntry entry)
{
    entry = ApplyFileTypeRules(std::move(entry));
    const FileTypeNames names = NamesForClass(entry.className);
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return false;

    // Nothing is written for a program the desktop entry cannot name.
    const QByteArray desktopEntry = DesktopEntryText(entry, names);
    if (desktopEntry.isEmpty())
        return false;

    // The desktop's caches are rebuilt only when a file changed; at most
    // starts nothing has, and then nothing needs to run.
    bool rewrote = false;
    if (!WriteFileAtomically(dataHome + QLatin1String("/mime/packages/") + names.id +
                                 QLatin1String(".xml"),
                             MimePackageXml(entry, names), &rewrote))
        return false;
    if (!InstallIcons(dataHome, entry, names, &rewrote))
        return false;
    // An installed launcher that opens the type already stands in "Open
    // With" lists; a second entry for the same program would stand beside
    // it. One an earlier start wrote (say, from a build folder) goes.
    const QString userEntry =
        dataHome + QLatin1String("/applications/") + names.id + QLatin1String(".desktop");
    if (InstalledLauncherOpens(entry.commandPath, names.mimeType)) {
        if (QFileInfo::exists(userEntry)) {
            if (!QFile::remove(userEntry))
                return false;
            rewrote = true;
        }
    } else if (!WriteFileAtomically(userEntry, desktopEntry, &rewrote)) {
        return false;
    }
    if (rewrote)
        RefreshDesktopDatabases(dataHome);
    return true;
}

} // namespace

bool RegisterFileType(QString extension, QString commandPath, QString iconPath, QString className,
                      QString description)
{
    try {
        return Register({std::move(extension), std::move(commandPath), std::move(iconPath),
                         std::move(className), std::move(description)});
    } catch (...) {
        // Registration is a courtesy to the desktop; start-up goes on.
        return false;
    }
}

} // namespace halvorn
