#include "output/ExportMap.h"

#include "imaging/Imaging.h"
#include "output/ExportFormat.h"
#include "output/OutputMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

namespace halvorn {

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("ExportMap", text);
}

struct ChosenFile {
    QString path;
    int filterIndex = 1;
};

// Dialog filters count from 1, as the format list is shown.
int FilterIndexOf(const QString& nameFilter)
{
    const ExportFormat& format = ExportFormatForFilter(nameFilter);
    const QList<ExportFormat>& formats = ExportFormats();
    for (int i = 0; i < formats.size(); ++i)
        if (formats[i].nameFilter == format.nameFilter)
            return i + 1;
    return 1;
}

// The program's folder, unless it cannot be written (an installed program):
// then the user's pictures.
QString StartFolder()
{
    const QString program = AppPath();
    if (QFileInfo(program).isWritable())
        return program;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

ChosenFile ChooseExportFile(QWidget* parent, const QString& previous, int filterIndex)
{
    QFileDialog dialog(parent, Tr("Export Map as picture file"), StartFolder());
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    // Qt's own dialog looks the same on every desktop and can be driven by tests.
    // The two choices read "PNG File" and "JPG File"; the patterns stay
    // behind them and still filter the listing.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setNameFilters(ExportNameFilters());
    // The filter first: changing it rewrites the extension of a name already
    // in the box.
    const QList<ExportFormat>& formats = ExportFormats();
    const bool known = filterIndex >= 1 && filterIndex <= formats.size();
    dialog.selectNameFilter(formats[known ? filterIndex - 1 : 0].nameFilter);
    if (!previous.isEmpty())
        dialog.selectFile(previous);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return {dialog.selectedFiles().value(0), FilterIndexOf(dialog.selectedNameFilter())};
}

// Empty when written, else the explanation for the user.
QString WritePicture(const QImage& picture, const QString& path, const ExportFormat& format)
{
    const Clsid encoder = GetEncoderClsid(format.mimeType);
    if (encoder.IsNull())
        return Tr("No %1 encoder is available.").arg(format.displayName);
    QString reason;
    const int32_t status = GdipSaveImageToFile(picture, path, encoder, format.quality, &reason);
    if (status == Ok)
        return {};
    // The user reads why in words; the imaging status says nothing more.
    return reason.isEmpty() ? StatusDescription(status) : reason;
}

QString FailureText(const QString& path, const QString& why)
{
    return Tr("The map could not be exported to %1.\n\n%2").arg(path, why);
}

} // namespace

void ExportMap(QWidget* parent, const QImage& canvasPicture, QString& ExportFileName,
               int& FilterIndex)
{
    const ChosenFile chosen = ChooseExportFile(parent, ExportFileName, FilterIndex);
    if (chosen.path.isEmpty())
        return;
    const QString& path = chosen.path;
    ExportFileName = path;
    // Kept like the name: the next export offers the same format again.
    FilterIndex = chosen.filterIndex;
    // Hidden (dot) files are files like any other; a folder of that name
    // is no reason to ask and fails below with its own message.
    if (QFileInfo(path).isFile() && !ConfirmOverwrite(parent))
        return;
    const QString failure =
        WritePicture(canvasPicture, path, ExportFormats()[chosen.filterIndex - 1]);
    if (!failure.isEmpty())
        ShowOutputError(parent, FailureText(path, failure));
}

} // namespace halvorn
