#include "library/PaletteRender.h"

#include "library/PaletteLayout.h"
#include "render/Imaging.h"

#include <QPainter>

#include <algorithm>

namespace halvorn {

QImage ReadThumbnailPicture(const QString& path)
{
    // Through the imaging layer's own checks, so a picture shown here is one
    // the brush can load, and a damaged one costs no more here than there.
    int32_t status = Ok;
    return DecodePicture(path, &status);
}

PaletteImage RenderPalette(TileKind kind, const QStringList& candidates, QColor background)
{
    PaletteImage result;
    const int capacity = PaletteCapacity(kind);
    // Sized for every candidate, then cut to the entries that were readable.
    const int most = std::min<int>(capacity, static_cast<int>(candidates.size()));
    QImage canvas(PaletteCanvasWidth, PaletteCanvasHeight(kind, most),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(background);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (const QString& path : candidates) {
            if (result.paths.size() >= capacity)
                break;
            const QImage picture = ReadThumbnailPicture(path);
            if (picture.isNull())
                continue;
            const int index = static_cast<int>(result.paths.size());
            painter.drawImage(ThumbnailRect(kind, index, picture.size()), picture);
            result.paths.push_back(path);
        }
    }
    const int height = PaletteCanvasHeight(kind, static_cast<int>(result.paths.size()));
    result.canvas = height == canvas.height() ? canvas : canvas.copy(0, 0, canvas.width(), height);
    return result;
}

} // namespace halvorn
