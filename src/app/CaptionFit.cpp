#include "app/CaptionFit.h"

#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>

namespace halvorn {
namespace {

// The title's place as the style lays it out for `font`, in bold.
bool TitleFits(const QGroupBox* box, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.fontMetrics = QFontMetrics(bold);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int needed = option.fontMetrics.horizontalAdvance(box->title().trimmed());
    // As much room on the right as the style leaves on the left, and never
    // less than a few pixels, so the title does not touch the frame's end.
    const int inset = std::max(label.left(), 4);
    return 2 * inset + needed <= box->width();
}

} // namespace

void FitFrameTitles(QWidget* root)
{
    constexpr double Smallest = 6.0;
    for (QGroupBox* box : root->findChildren<QGroupBox*>()) {
        QFont font = box->font();
        while (!TitleFits(box, font) && font.pointSizeF() - 0.5 >= Smallest)
            font.setPointSizeF(font.pointSizeF() - 0.5);
        if (font != box->font())
            box->setFont(font);
    }
}

} // namespace halvorn
