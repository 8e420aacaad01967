#include "desktop/FileTypeIcon.h"

#include "desktop/MapDocumentIcon.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace halvorn {

QImage FileTypeIconImage(const QString& iconReference, int size)
{
    if (size <= 0)
        return {};
    QImage source;
    if (QFileInfo(iconReference).isFile()) {
        QImageReader reader(iconReference);
        source = reader.read();
    }
    if (source.isNull())
        return MapDocumentIcon(size);

    // Icon themes expect square pictures of the folder's size; a picture of
    // other proportions is centred on a transparent square.
    const QImage scaled = source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage square(size, size, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage(QPoint((size - scaled.width()) / 2, (size - scaled.height()) / 2), scaled);
    painter.end();
    return square;
}

} // namespace halvorn
