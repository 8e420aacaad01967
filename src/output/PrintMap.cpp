#include "output/PrintMap.h"

#include "output/OutputMessages.h"
#include "output/PrintPlacement.h"
#include "storage/SafeWrite.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

namespace halvorn {

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("PrintMap", text);
}

void ShowPrintError(QWidget* parent, const QString& why)
{
    ShowOutputError(parent, Tr("The map could not be printed.\n\n%1").arg(why));
}

// The map is always exactly one page, so the dialog has no page numbers.
// Leaving out the page-range option is not enough: with CUPS, Qt's own dialog
// still offers "Pages from ... to" and a page set, for the print server to
// apply, so their group is hidden once the dialog has set itself up.
class MapPrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;

    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (!visible)
            return;
        if (auto* range = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
            range->hide();
    }
};

bool RunPrintDialog(QWidget* parent, QPrinter& printer)
{
    MapPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setWindowTitle(Tr("Print Map"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec() == QDialog::Accepted;
}

// The picture reaches the page pixel for pixel: without the lossless hint
// Qt's PDF engine, which also makes what CUPS prints, stores it as a JPEG,
// with ringing around grid lines and tile edges.
void DrawMap(QPainter& painter, const QImage& picture, const PrintPlacement& placement)
{
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(placement.left, placement.top, placement.width, placement.height),
                      picture);
}

// Empty when printed, else the explanation for the user.
QString PaintPage(QPrinter& printer, const QImage& picture, const PrintPlacement& placement)
{
    // A printer removed from the system since the dialog listed it is not valid.
    if (!printer.isValid() || printer.printerName().isEmpty())
        return Tr("No printer is available.");
    QPainter painter;
    if (!painter.begin(&printer))
        return Tr("The printer %1 could not be started.").arg(printer.printerName());
    DrawMap(painter, picture, placement);
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error)
        return Tr("The printer reported an error.");
    return {};
}

// A PDF file is made in memory and written like an exported picture, so
// that a full disk is reported and never leaves half a PDF (Qt's own PDF
// printer ignores failing writes). Empty when written, else why.
QString PrintToPdfFile(const QPrinter& printer, const QImage& picture,
                       const PrintPlacement& placement)
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPdfVersion(printer.pdfVersion());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(PrintResolution);
        QPainter painter;
        if (!painter.begin(&writer))
            return Tr("The PDF could not be made.");
        DrawMap(painter, picture, placement);
        if (!painter.end())
            return Tr("The PDF could not be made.");
    }
    const WriteOutcome written = WriteFileSafely(printer.outputFileName(), pdf);
    return written ? QString() : written.reason;
}

} // namespace

void PrintMap(QWidget* parent, const QImage& canvasPicture)
{
    QPrinter printer(QPrinter::HighResolution);
    PrintMap(parent, canvasPicture, printer);
}

void PrintMap(QWidget* parent, const QImage& canvasPicture, QPrinter& printer)
{
    if (canvasPicture.isNull()) {
        ShowPrintError(parent, Tr("There is no map picture to print."));
        return;
    }
    printer.setResolution(PrintResolution);
    if (!RunPrintDialog(parent, printer))
        return;
    // Measured on the page the dialog settled on: a switch to landscape or
    // to other paper there centres the map on that page and narrows it to
    // the width that will really be printed on.
    printer.setResolution(PrintResolution);
    const QRect printable = printer.pageLayout().paintRectPixels(PrintResolution);
    const std::optional<PrintPlacement> placement =
        ComputePrintPlacement(canvasPicture.size(), QSizeF(printable.size()));
    if (!placement) {
        ShowPrintError(parent, Tr("The map is too large to print."));
        return;
    }
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString failure = PrintToPdfFile(printer, canvasPicture, *placement);
        if (!failure.isEmpty())
            ShowOutputError(parent, Tr("The map could not be printed to %1.\n\n%2")
                                        .arg(printer.outputFileName(), failure));
        return;
    }
    const QString failure = PaintPage(printer, canvasPicture, *placement);
    if (!failure.isEmpty())
        ShowPrintError(parent, failure);
}

} // namespace halvorn
