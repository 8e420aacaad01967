// Build step: paints the icon theme files and writes the shared-mime-info
// package that an installation puts in the system's places.
//   halvorn_desktop_files <output folder>
// writes icons/hicolor/<n>x<n>/apps/<application id>.png,
// icons/hicolor/<n>x<n>/mimetypes/<document icon name>.png and
// mime/packages/halvorn3.xml below the folder.
#include "desktop/ApplicationId.h"
#include "desktop/AtomicFile.h"
#include "desktop/FileTypeDocuments.h"
#include "desktop/MapDocumentIcon.h"
#include "desktop/MapDocumentType.h"
#include "desktop/ProgramIcon.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

bool WritePng(const QString& path, const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return false;
    return halvorn::WriteFileAtomically(path, bytes);
}

bool WriteAll(const QString& out)
{
    using namespace halvorn;
    // The installed package names the document type exactly as the start-up
    // registration does, so a user's own registration replaces it cleanly.
    const FileTypeEntry entry = ApplyFileTypeRules({QString::fromLatin1(MapExtension), QString(),
                                                    QString(), QString::fromLatin1(MapClassName),
                                                    QString::fromLatin1(MapDescription)});
    const FileTypeNames names = NamesForClass(entry.className);
    for (const int size : ProgramIconSizes) {
        const QString folder = QStringLiteral("%1/icons/hicolor/%2x%2/").arg(out).arg(size);
        if (!WritePng(folder + QStringLiteral("apps/%1.png").arg(QLatin1String(ApplicationId)),
                      ProgramIcon(size)) ||
            !WritePng(folder + QStringLiteral("mimetypes/%1.png").arg(names.iconName),
                      MapDocumentIcon(size)))
            return false;
    }
    return WriteFileAtomically(out + QStringLiteral("/mime/packages/halvorn3.xml"),
                               MimePackageXml(entry, names));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: halvorn_desktop_files <output folder>\n");
        return 2;
    }
    if (!WriteAll(args.at(1))) {
        std::fprintf(stderr, "halvorn_desktop_files: cannot write below %s\n",
                     qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
