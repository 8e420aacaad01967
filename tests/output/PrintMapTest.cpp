#include "output/PrintMap.h"

#include "OutputTestSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace halvorn;
using testsupport::BoxRecord;

namespace {

enum class Answer { Cancel, Print, PrintUnchecked };

struct PrintSeen {
    int dialogs = 0;
    QString title, objectName;
    QAbstractPrintDialog::PrintDialogOptions options;
    std::vector<BoxRecord> boxes;
};

// Letter paper with quarter-inch margins: a printable area of 2400 x 3150
// printer pixels at 300 dpi, writing a PDF instead of needing a printer.
void PdfPrinter(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
}

PrintSeen RunPrint(const QImage& picture, QPrinter& printer, Answer answer)
{
    PrintSeen seen;
    testsupport::DriveModals([&] { PrintMap(nullptr, picture, printer); },
                             [&](QWidget* modal) {
                                 if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                                     testsupport::AnswerBox(*box, seen.boxes, {QMessageBox::Ok});
                                     return;
                                 }
                                 auto* dialog = qobject_cast<QPrintDialog*>(modal);
                                 ASSERT_NE(dialog, nullptr);
                                 ++seen.dialogs;
                                 seen.title = dialog->windowTitle();
                                 seen.objectName = dialog->objectName();
                                 seen.options = dialog->options();
                                 if (answer == Answer::Cancel)
                                     dialog->reject();
                                 else if (answer == Answer::Print)
                                     dialog->accept();
                                 else // past the dialog's own check of the file name
                                     dialog->done(QDialog::Accepted);
                             });
    return seen;
}

// Red, green, blue and yellow quarters: a flipped or turned print shows.
QImage Quarters(int size)
{
    QImage img(size, size, QImage::Format_RGB32);
    const int half = size / 2;
    QPainter p(&img);
    p.fillRect(0, 0, half, half, Qt::red);
    p.fillRect(half, 0, size - half, half, Qt::green);
    p.fillRect(0, half, half, size - half, Qt::blue);
    p.fillRect(half, half, size - half, size - half, Qt::yellow);
    return img;
}

class PrintMapTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
};

TEST_F(PrintMapTest, CancelPrintsNothingAndShowsNothing)
{
    const QString pdf = dir.filePath("map.pdf");
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, pdf);
    const PrintSeen seen = RunPrint(Quarters(1080), printer, Answer::Cancel);
    EXPECT_EQ(seen.dialogs, 1);
    EXPECT_EQ(seen.title, "Print Map");
    EXPECT_EQ(seen.objectName, "PrintDialog");
    EXPECT_FALSE(seen.options.testFlag(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(seen.options.testFlag(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(seen.options.testFlag(QAbstractPrintDialog::PrintCurrentPage));
    EXPECT_TRUE(seen.boxes.empty());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintMapTest, PrintsTheMapScaledToTheWidthAndCentredOnOnePage)
{
    const QString pdf = dir.filePath("map.pdf");
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, pdf);
    const PrintSeen seen = RunPrint(Quarters(1080), printer, Answer::Print);
    EXPECT_EQ(seen.dialogs, 1);
    EXPECT_TRUE(seen.boxes.empty());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));

    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed; the page was not looked at";
    const QString prefix = dir.filePath("page");
    ASSERT_EQ(QProcess::execute(pdftoppm, {"-r", "300", "-png", "-singlefile", pdf, prefix}), 0);
    const QImage page = QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(page.size(), QSize(2550, 3300));

    // 1080 canvas pixels shrink to the 2400 printable pixels; the map spans
    // x 75..2475 and y 75 + 375 = 450..2850 on the page.
    struct Probe {
        int x, y;
        QRgb colour;
    };
    const Probe probes[] = {
        {80, 455, qRgb(255, 0, 0)},       {1270, 455, qRgb(255, 0, 0)},
        {1280, 455, qRgb(0, 255, 0)},     {2470, 455, qRgb(0, 255, 0)},
        {80, 2845, qRgb(0, 0, 255)},      {2470, 2845, qRgb(255, 255, 0)},
        {70, 1000, qRgb(255, 255, 255)},  {2480, 1000, qRgb(255, 255, 255)},
        {1000, 445, qRgb(255, 255, 255)}, {1000, 2855, qRgb(255, 255, 255)},
    };
    for (const Probe& p : probes) {
        const QRgb got = page.pixel(p.x, p.y);
        EXPECT_NEAR(qRed(got), qRed(p.colour), 8) << p.x << "," << p.y;
        EXPECT_NEAR(qGreen(got), qGreen(p.colour), 8) << p.x << "," << p.y;
        EXPECT_NEAR(qBlue(got), qBlue(p.colour), 8) << p.x << "," << p.y;
    }
}

TEST_F(PrintMapTest, FailuresAreReported)
{
    struct Case {
        const char* name;
        QString outputFile;
        QImage picture;
        int dialogs;
        QString text;
    };
    const QString unwritable = dir.filePath("missing/map.pdf");
    const Case cases[] = {
        {"unwritable output", unwritable, Quarters(100), 1,
         "The map could not be printed.\n\nThe file " + unwritable + " could not be written."},
        {"no picture", dir.filePath("blank.pdf"), QImage(), 0,
         "The map could not be printed.\n\nThere is no map picture to print."},
        {"too large", dir.filePath("huge.pdf"), QImage(1080, 20000, QImage::Format_RGB32), 0,
         "The map could not be printed.\n\nThe map is too large to print."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPrinter printer(QPrinter::HighResolution);
        PdfPrinter(printer, c.outputFile);
        const PrintSeen seen = RunPrint(c.picture, printer, Answer::PrintUnchecked);
        EXPECT_EQ(seen.dialogs, c.dialogs);
        ASSERT_EQ(seen.boxes.size(), 1u);
        EXPECT_EQ(seen.boxes[0].title, "Error");
        EXPECT_EQ(seen.boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(seen.boxes[0].text, c.text);
        EXPECT_FALSE(QFile::exists(c.outputFile));
    }
}

} // namespace
