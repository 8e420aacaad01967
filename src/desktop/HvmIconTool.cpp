// Build step: paints the map document icon into the hvm.png that ships beside
// the program, so the installed icon and the painted fallback are one picture.
//   halvorn_hvm_icon <output.png> [size]
#include "desktop/MapDocumentIcon.h"
#include "storage/SafeWrite.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: halvorn_hvm_icon <output.png> [size]\n");
        return 2;
    }
    bool ok = true;
    const int size = args.size() == 3 ? args.at(2).toInt(&ok) : 256;
    if (!ok || size <= 0 || size > 4096) {
        std::fprintf(stderr, "halvorn_hvm_icon: bad size\n");
        return 2;
    }
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) ||
        !halvorn::MapDocumentIcon(size).save(&buffer, "PNG") ||
        !halvorn::WriteFileSafely(args.at(1), png)) {
        std::fprintf(stderr, "halvorn_hvm_icon: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
