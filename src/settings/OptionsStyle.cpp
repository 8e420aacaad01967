#include "settings/OptionsStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

namespace halvorn {

namespace {

constexpr int IndicatorSize = 11;
constexpr int CaptionIndent = 6;

} // namespace

OptionsStyle::OptionsStyle(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}

int OptionsStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const
{
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
        return std::min(value, IndicatorSize);
    return value;
}

QRect OptionsStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                   SubControl subControl, const QWidget* widget) const
{
    const QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control == CC_GroupBox && subControl == SC_GroupBoxLabel)
        return rect.translated(CaptionIndent, 0);
    return rect;
}

void OptionsStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const
{
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // An etched frame whose top line passes through the caption's middle; the
    // style has already kept the caption itself clear of it.
    const QRect frame = option->rect.adjusted(0, option->fontMetrics.height() / 2, 0, 0);
    qDrawShadeRect(painter, frame, option->palette, true, 1, 0);
}

} // namespace halvorn
