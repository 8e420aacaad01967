// The current brush: which kind of piece a click on the map lays down, the
// picture of each kind last chosen, and the previews shown beside the map.
// Widget-free; the caller passes in the colours of its style.
#pragma once

#include "map/BrushKind.h"
#include "map/CanvasTool.h"
#include "map/Orientation.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>

namespace halvorn {

// The fields the map tool reads come from CanvasBrush; the brush adds the
// path of each kind's picture and the previews.
class Brush : public CanvasBrush {
public:
    // `buttonFace` fills the object preview until an object is chosen; the
    // floor and wall previews start transparent.
    explicit Brush(QColor buttonFace);

    // Sets the mode, the status text and the cursor colour of a kind.
    void SetMode(BrushKind kind) { SetMode(ModeWord(kind)); }
    // The same for the kind a mode word names; any other word sets the
    // status text alone, and no mode.
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

    // Sized as KindInfo(kind).Preview().
    const QImage& Preview(BrushKind kind) const;
    const QImage& FloorPreview() const { return floorPreview_; }
    const QImage& WallPreview() const { return wallPreview_; }
    const QImage& ObjectPreview() const { return objectPreview_; }

    QString FloorPath;
    QString WallPath;
    QString ObjectPath;

private:
    QColor buttonFace_;
    QString statusText_;
    QColor cursorColor_;
    QImage floorPreview_;
    QImage wallPreview_;
    QImage objectPreview_;
};

} // namespace halvorn
