#include "desktop/ArtworkView.h"

#include "desktop/ProductArtwork.h"

#include <QPainter>

namespace halvorn {

ArtworkView::ArtworkView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picArtwork"));
    setFixedSize(ProductArtworkSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ArtworkView::sizeHint() const
{
    return ProductArtworkSize;
}

void ArtworkView::paintEvent(QPaintEvent*)
{
    // Painted once at the screen's pixel density and kept, so repaints while
    // the splash blocks the event loop cost nothing.
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (picture_.size() != pixels) {
        picture_ = ProductArtwork(pixels);
        picture_.setDevicePixelRatio(dpr);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), picture_);
}

} // namespace halvorn
