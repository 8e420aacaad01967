// File > Export Map...: saves the canvas picture as a PNG or JPEG file.
#pragma once

#include <QString>

class QImage;
class QWidget;

namespace halvorn {

// Asks for a file name (the dialog opens with `ExportFileName`, the full path
// of the previous export, already filled in, and the filter `FilterIndex`,
// 1 for PNG and 2 for JPEG, selected), stores the chosen path and filter back,
// asks before overwriting, and writes the picture pixel for pixel. Cancel
// leaves everything as it was. Every failure is reported in a message box;
// nothing is thrown.
void ExportMap(QWidget* parent, const QImage& canvasPicture, QString& ExportFileName,
               int& FilterIndex);

} // namespace halvorn
