#include "oracle/LiteralPalette.h"

#include "imaging/Imaging.h"
#include "library/PaletteLayout.h"

#include <QPainter>

namespace halvorn::oracle {

LiteralPaletteImage LiteralPalette(BrushKind kind, const QStringList& candidates, QColor background)
{
    LiteralPaletteImage result;
    QImage canvas(PaletteCanvasWidth,
                  PaletteGrid::Of(kind).CanvasHeight(static_cast<int>(candidates.size())),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(background);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (const QString& path : candidates) {
            int32_t status = Ok;
            const QImage picture = DecodePicture(path, &status);
            if (picture.isNull())
                continue;
            const int index = static_cast<int>(result.paths.size());
            painter.drawImage(ThumbnailRect(kind, index, picture.size()), picture);
            result.paths.push_back(path);
        }
    }
    const int height = PaletteGrid::Of(kind).CanvasHeight(static_cast<int>(result.paths.size()));
    result.canvas = canvas.copy(0, 0, canvas.width(), height);
    return result;
}

} // namespace halvorn::oracle
