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

// One wall piece at 100 %, the size each copy of the wall preview is drawn.
constexpr int WallPieceSide = 18;

// Draws a kind's newly chosen picture into its preview.
using PreviewPainter = void (*)(QImage& preview, const QImage& picture, QColor buttonFace);

void PaintFloor(QImage& preview, const QImage& picture, QColor)
{
    // Not cleared first: a floor with holes shows the previous one through them.
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), preview.size()), picture);
}

void PaintWall(QImage& preview, const QImage& picture, QColor)
{
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int x = 0; x < preview.width() / WallPieceSide; ++x) {
        for (int y = 0; y < preview.height() / WallPieceSide; ++y)
            painter.drawImage(
                QRect(x * WallPieceSide, y * WallPieceSide, WallPieceSide, WallPieceSide), picture);
    }
}

void PaintObject(QImage& preview, const QImage& picture, QColor buttonFace)
{
    // Each side is limited on its own, like the palette thumbnails.
    const int w = std::min(picture.width(), preview.width());
    const int h = std::min(picture.height(), preview.height());
    preview.fill(buttonFace);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(RoundToInt(preview.width() / 2.0 - w / 2.0),
                            RoundToInt(preview.height() / 2.0 - h / 2.0), w, h),
                      picture);
}

constexpr PerKind<PreviewPainter> PreviewPainters{{PaintFloor, PaintWall, PaintObject}};
// Where the map tool reads each kind's picture.
constexpr PerKind<ImageHandle CanvasBrush::*> ImageFields{
    {&CanvasBrush::FloorImage, &CanvasBrush::WallImage, &CanvasBrush::ObjectImage}};
constexpr PerKind<QRgb> CursorColours{{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)}};

} // namespace

Brush::Brush(QColor buttonFace)
    // Floors and walls start see-through: until a picture is picked the box's
    // own background shows, which follows the colour scheme, also a dark one.
    : buttonFace_(buttonFace), previews_{{FilledImage(BrushKind::Floor, Qt::transparent),
                                          FilledImage(BrushKind::Wall, Qt::transparent),
                                          FilledImage(BrushKind::Object, buttonFace)}}
{
}

void Brush::SetMode(BrushKind kind)
{
    Mode = kind;
    cursorColor_ = QColor(CursorColours[kind]);
    statusText_ = QStringLiteral("Mode = ") + ModeWord(kind);
    if (!Paths[kind].isEmpty())
        statusText_ += QStringLiteral(" (") + TileDisplayName(Paths[kind]) + QLatin1Char(')');
}

void Brush::Select(BrushKind kind, const QString& path, Orientation orientation)
{
    const ImageHandle image = LoadImageFromFile(path);
    const bool object = kind == BrushKind::Object;
    const QImage picture = OrientedImage(image, object ? orientation : 0);
    PreviewPainters[kind](previews_[kind], picture, buttonFace_);
    this->*ImageFields[kind] = image;
    Paths[kind] = path;
    // Objects alone have a size of their own on the map, and turn.
    if (object) {
        ObjectWidth = RoundToInt16(picture.width());
        ObjectHeight = RoundToInt16(picture.height());
        ObjectOrientation = orientation;
    }
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
