// The current brush: which kind of piece a click on the map lays down, the
// picture of each kind last chosen, and the previews shown beside the map.
// Widget-free; the caller passes in the colours of its style.
#pragma once

#include "map/MapDocument.h"
#include "map/Orientation.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>

namespace halvorn {

// Drawable sizes of the three preview boxes.
inline constexpr int FloorPreviewSide = 72;
inline constexpr int WallPreviewSide = 72;
inline constexpr int WallPieceSide = 18;
inline constexpr int ObjectPreviewWidth = 164;
inline constexpr int ObjectPreviewHeight = 124;

class Brush {
public:
    // `buttonFace` fills the previews until something is chosen.
    explicit Brush(QColor buttonFace);

    // Sets the mode word and the status text and, for "Tile", "Wall" and
    // "Object", the cursor colour; other words change only the text.
    void SetMode(const QString& mode);
    const QString& StatusText() const { return statusText_; }
    // Invalid until a mode with a colour has been set.
    QColor CursorColor() const { return cursorColor_; }

    // Each loads the picture through the imaging layer and shows it in its
    // preview. On failure the AppError is thrown and nothing changes.
    void SelectFloorTile(const QString& path);
    void SelectWallPiece(const QString& path);
    // Also sets ObjectOrientation, on success only.
    void SelectObjectImage(const QString& path, Orientation orientation);

    // The cursor size on the map at `zoom`, or none when the mode gives no
    // size (the cursor then keeps the one it has).
    std::optional<QSizeF> Footprint(float zoom) const;

    const QImage& FloorPreview() const { return floorPreview_; }
    const QImage& WallPreview() const { return wallPreview_; }
    const QImage& ObjectPreview() const { return objectPreview_; }

    QString Mode;
    ImageHandle FloorImage = 0;
    QString FloorPath;
    ImageHandle WallImage = 0;
    QString WallPath;
    ImageHandle ObjectImage = 0; // as loaded, before the orientation
    QString ObjectPath;
    int16_t ObjectWidth = 0; // after the orientation
    int16_t ObjectHeight = 0;
    Orientation ObjectOrientation = 0;

private:
    QColor buttonFace_;
    QString statusText_;
    QColor cursorColor_;
    QImage floorPreview_;
    QImage wallPreview_;
    QImage objectPreview_;
};

} // namespace halvorn
