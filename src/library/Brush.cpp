#include "library/Brush.h"

#include "library/TileName.h"
#include "map/Numeric.h"
#include "render/Imaging.h"

#include <QPainter>

#include <algorithm>

namespace halvorn {

namespace {

QImage FilledImage(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

} // namespace

Brush::Brush(QColor buttonFace)
    : buttonFace_(buttonFace),
      floorPreview_(FilledImage(FloorPreviewSide, FloorPreviewSide, buttonFace)),
      wallPreview_(FilledImage(WallPreviewSide, WallPreviewSide, buttonFace)),
      objectPreview_(FilledImage(ObjectPreviewWidth, ObjectPreviewHeight, buttonFace))
{
}

void Brush::SetMode(const QString& mode)
{
    Mode = BrushKindOf(mode);
    statusText_ = QStringLiteral("Mode = ") + mode;
    if (!Mode)
        return;
    const QString* path = nullptr;
    switch (*Mode) {
    case BrushKind::Floor:
        path = &FloorPath;
        cursorColor_ = QColor(255, 0, 0);
        break;
    case BrushKind::Object:
        path = &ObjectPath;
        cursorColor_ = QColor(0, 0, 255);
        break;
    case BrushKind::Wall:
        path = &WallPath;
        cursorColor_ = QColor(0, 255, 0);
        break;
    }
    if (!path->isEmpty())
        statusText_ += QStringLiteral(" (") + TileDisplayName(*path) + QLatin1Char(')');
}

void Brush::SelectFloorTile(const QString& path)
{
    const ImageHandle image = LoadImageFromFile(path);
    // Not cleared first: a floor with holes shows the previous one through them.
    QPainter painter(&floorPreview_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, FloorPreviewSide, FloorPreviewSide), ImageOf(image));
    FloorImage = image;
    FloorPath = path;
}

void Brush::SelectWallPiece(const QString& path)
{
    const ImageHandle image = LoadImageFromFile(path);
    const QImage picture = ImageOf(image);
    QPainter painter(&wallPreview_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int copies = WallPreviewSide / WallPieceSide;
    for (int x = 0; x < copies; ++x) {
        for (int y = 0; y < copies; ++y)
            painter.drawImage(QRect(x * WallPieceSide, y * WallPieceSide, WallPieceSide, WallPieceSide),
                              picture);
    }
    WallImage = image;
    WallPath = path;
}

void Brush::SelectObjectImage(const QString& path, Orientation orientation)
{
    const ImageHandle image = LoadImageFromFile(path);
    const QImage oriented = OrientedImage(image, orientation);
    // Each side is limited on its own, like the palette thumbnails.
    const int w = std::min(oriented.width(), ObjectPreviewWidth);
    const int h = std::min(oriented.height(), ObjectPreviewHeight);
    objectPreview_.fill(buttonFace_);
    {
        QPainter painter(&objectPreview_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(RoundToInt(ObjectPreviewWidth / 2.0 - w / 2.0),
                                RoundToInt(ObjectPreviewHeight / 2.0 - h / 2.0), w, h),
                          oriented);
    }
    ObjectImage = image;
    ObjectPath = path;
    ObjectWidth = RoundToInt16(oriented.width());
    ObjectHeight = RoundToInt16(oriented.height());
    ObjectOrientation = orientation;
}

std::optional<QSizeF> Brush::Footprint(float zoom) const
{
    if (Mode == BrushKind::Floor)
        return QSizeF(72.0 * zoom, 72.0 * zoom);
    if (Mode == BrushKind::Wall)
        return QSizeF(18.0 * zoom, 18.0 * zoom);
    if (Mode == BrushKind::Object && ObjectImage != 0)
        return QSizeF(ObjectWidth * static_cast<double>(zoom), ObjectHeight * static_cast<double>(zoom));
    return std::nullopt;
}

} // namespace halvorn
