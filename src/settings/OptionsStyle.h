// The look the Options dialog's pixel layout was drawn for, over the
// application's own style: a frame's top line runs through the middle of its
// caption, which stands a little in from the frame's left edge, so the first
// row of controls a few pixels below the caption sits inside the frame; and a
// check box indicator fits a 12-pixel check box.
#pragma once

#include <QProxyStyle>

namespace halvorn {

class OptionsStyle : public QProxyStyle {
    Q_OBJECT
public:
    // `base` names the style to follow, as QStyleFactory knows it.
    explicit OptionsStyle(const QString& base);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace halvorn
