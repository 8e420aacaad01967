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
    void SetMode(BrushKind kind);
    const QString& StatusText() const { return statusText_; }
    // Invalid until a mode with a colour has been set.
    QColor CursorColor() const { return cursorColor_; }

    // Loads the picture through the imaging layer as the kind's and shows it
    // in the kind's preview. An object is shown turned by `orientation`,
    // which becomes ObjectOrientation; floors and walls ignore it. On failure
    // the AppError is thrown and nothing changes.
    void Select(BrushKind kind, const QString& path, Orientation orientation = 0);

    // The cursor size on the map at `zoom`, or none when the mode gives no
    // size (the cursor then keeps the one it has).
    std::optional<QSizeF> Footprint(float zoom) const;

    // Sized as KindInfo(kind).Preview().
    const QImage& Preview(BrushKind kind) const { return previews_[kind]; }

    // The file of each kind's picture last chosen; empty until one is.
    PerKind<QString> Paths;

private:
    QColor buttonFace_;
    QString statusText_;
    QColor cursorColor_;
    PerKind<QImage> previews_;
};

} // namespace halvorn
