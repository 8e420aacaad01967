// The picture formats the map can be exported to, one per save-dialog filter.
// The format follows the filter the user chose, never the typed extension, so
// a name like "map.png" saved with the JPG filter is a JPEG.
#pragma once

#include <QString>
#include <QStringList>

namespace halvorn {

struct ExportFormat {
    QString nameFilter; // as given to the save dialog
    QString label;      // what the dialog shows of it
    QString mimeType;   // asks the imaging layer for the encoder
    QString displayName;
    int quality; // -1 when the format has none
};

// In dialog order; the first is the one selected when the dialog opens.
const QList<ExportFormat>& ExportFormats();
QStringList ExportNameFilters();

// The format of a dialog filter, given whole or as its label (the dialog
// hides the patterns); the first format for a filter not in the list.
const ExportFormat& ExportFormatForFilter(const QString& nameFilter);

} // namespace halvorn
