// File > Print Map...: prints the canvas picture on one page.
#pragma once

class QImage;
class QPrinter;
class QWidget;

namespace halvorn {

// Prints on a high-resolution printer at 300 dpi after the print dialog.
// The picture reaches the printer or the PDF losslessly, pixel for pixel. A
// PDF file is written like an export (storage/SafeWrite.h). Cancel prints
// nothing; every failure is reported in a message box and nothing is thrown.
void PrintMap(QWidget* parent, const QImage& canvasPicture);

// The same on a printer the caller has set up, for example one that writes a
// PDF file. Its resolution is set to 300 dpi here.
void PrintMap(QWidget* parent, const QImage& canvasPicture, QPrinter& printer);

} // namespace halvorn
