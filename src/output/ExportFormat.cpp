#include "output/ExportFormat.h"

namespace halvorn {

const QList<ExportFormat>& ExportFormats()
{
    static const QList<ExportFormat> formats{
        {QStringLiteral("PNG File (*.png)"), QStringLiteral("PNG File"),
         QStringLiteral("image/png"), QStringLiteral("PNG"), -1},
        // Maps are line art on flat colours; anything below full quality smears the grid.
        {QStringLiteral("JPG File (*.jpg)"), QStringLiteral("JPG File"),
         QStringLiteral("image/jpeg"), QStringLiteral("JPEG"), 100},
    };
    return formats;
}

QStringList ExportNameFilters()
{
    QStringList filters;
    for (const ExportFormat& format : ExportFormats())
        filters << format.nameFilter;
    return filters;
}

const ExportFormat& ExportFormatForFilter(const QString& nameFilter)
{
    for (const ExportFormat& format : ExportFormats()) {
        if (format.nameFilter == nameFilter || format.label == nameFilter)
            return format;
    }
    return ExportFormats().front();
}

} // namespace halvorn
