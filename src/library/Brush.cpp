#include "library/Brush.h"

#include "imaging/Imaging.h"
#include "library/TileKind.h"
#include "library/TileName.h"
#include "map/Numeric.h"

#include <QPainter>

#include <algorithm>

namespace halvorn {

namespace {

QImage FilledImage(BrushKind kind, QColor colour)
{
    QImage image(KindInfo(kind).Preview(), QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

constexpr QSize FloorPreviewSize = FloorKindInfo.Preview();
constexpr QSize WallPreviewSize = WallKindInfo.Preview();
constexpr QSize ObjectPreviewSize = ObjectKindInfo.Preview();
// One wall piece at 100 %, the size each copy of the wall preview is drawn.
constexpr int WallPieceSide = 18;

} // namespace

Brush::Brush(QColor buttonFace)
    // Floors and walls start see-through: until a picture is picked the box's
    // own background shows, which follows the colour scheme, also a dark one.
    : buttonFace_(buttonFace), floorPreview_(FilledImage(BrushKind::Floor, Qt::transparent)),
      wallPreview_(FilledImage(BrushKind::Wall, Qt::transparent)),
      objectPreview_(FilledImage(BrushKind::Object, buttonFace))
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
    painter.drawImage(QRect(QPoint(0, 0), FloorPreviewSize), ImageOf(image));
    FloorImage = image;
    FloorPath = path;
}

void Brush::SelectWallPiece(const QString& path)
{
    const ImageHandle image = LoadImageFromFile(path);
    const QImage picture = ImageOf(image);
    QPainter painter(&wallPreview_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int x = 0; x < WallPreviewSize.width() / WallPieceSide; ++x) {
        for (int y = 0; y < WallPreviewSize.height() / WallPieceSide; ++y)
            painter.drawImage(
                QRect(x * WallPieceSide, y * WallPieceSide, WallPieceSide, WallPieceSide), picture);
    }
    WallImage = image;
    WallPath = path;
}

void Brush::SelectObjectImage(const QString& path, Orientation orientation)
{
    const ImageHandle image = LoadImageFromFile(path);
    const QImage oriented = OrientedImage(image, orientation);
    // Each side is limited on its own, like the palette thumbnails.
    const int w = std::min(oriented.width(), ObjectPreviewSize.width());
    const int h = std::min(oriented.height(), ObjectPreviewSize.height());
    objectPreview_.fill(buttonFace_);
    {
        QPainter painter(&objectPreview_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(RoundToInt(ObjectPreviewSize.width() / 2.0 - w / 2.0),
                                RoundToInt(ObjectPreviewSize.height() / 2.0 - h / 2.0), w, h),
                          oriented);
    }
    ObjectImage = image;
    ObjectPath = path;
    ObjectWidth = RoundToInt16(oriented.width());
    ObjectHeight = RoundToInt16(oriented.height());
    ObjectOrientation = orientation;
}

const QImage& Brush::Preview(BrushKind kind) const
{
    switch (kind) {
    case BrushKind::Wall:
        return wallPreview_;
    case BrushKind::Object:
        return objectPreview_;
    case BrushKind::Floor:
        break;
    }
    return floorPreview_;
}

std::optional<QSizeF> Brush::Footprint(float zoom) const
{
    if (Mode == BrushKind::Floor)
        return QSizeF(72.0 * zoom, 72.0 * zoom);
    if (Mode == BrushKind::Wall)
        return QSizeF(18.0 * zoom, 18.0 * zoom);
    if (Mode == BrushKind::Object && ObjectImage != 0)
        return QSizeF(ObjectWidth * static_cast<double>(zoom),
                      ObjectHeight * static_cast<double>(zoom));
    return std::nullopt;
}

} // namespace halvorn
