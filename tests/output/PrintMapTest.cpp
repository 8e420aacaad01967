#include "output/PrintMap.h"

#include "QStringPrint.h"
#include "TestSupport.h"
#include "storage/IoFaults.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

using namespace halvorn;
using testsupport::BoxRecord;

namespace {

// How the test answers the print dialog; Unchecked skips the dialog's own
// check of the output file, so the failure reaches the print itself.
enum class Answer { Cancel, Print, PrintUnchecked };

// Prints into a PDF on Letter paper with quarter-inch margins: a printable
// area of 2400 x 3150 printer pixels at 300 dpi.
std::vector<BoxRecord> RunPrint(const QImage& picture, const QString& pdf, Answer answer,
                                const std::function<void(QPrintDialog&)>& onOpen = {})
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    std::vector<BoxRecord> boxes;
    testsupport::DriveModals([&] { PrintMap(nullptr, picture, printer); },
                             [&](QWidget* modal) {
                                 if (auto* box = qobject_cast<QMessageBox*>(modal))
                                     return testsupport::Answer(*box, boxes, QMessageBox::Ok);
                                 auto* dialog = qobject_cast<QPrintDialog*>(modal);
                                 ASSERT_NE(dialog, nullptr);
                                 if (onOpen)
                                     onOpen(*dialog);
                                 if (answer == Answer::Cancel)
                                     dialog->reject();
                                 else if (answer == Answer::Print)
                                     dialog->accept();
                                 else
                                     dialog->done(QDialog::Accepted);
                             });
    return boxes;
}

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

// The PDF holds one page of `pageSize` pixels at 300 dpi, and each probe
// shows its colour there.
struct Probe {
    int x, y;
    QRgb colour;
};

void ExpectPage(const QString& pdf, QSize pageSize, std::initializer_list<Probe> probes)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    ASSERT_FALSE(pdftoppm.isEmpty()) << "pdftoppm comes with poppler-utils";
    QProcess info;
    info.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAll())
                    .contains(QRegularExpression(QStringLiteral("\nPages: +1\n"))));
    const QString png = pdf + QStringLiteral("-page");
    ASSERT_EQ(QProcess::execute(pdftoppm,
                                {QStringLiteral("-r"), QStringLiteral("300"),
                                 QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, png}),
              0);
    const QImage page(png + QStringLiteral(".png"));
    ASSERT_EQ(page.size(), pageSize);
    for (const Probe& p : probes) {
        const QRgb got = page.pixel(p.x, p.y);
        const int off = std::max({std::abs(qRed(got) - qRed(p.colour)),
                                  std::abs(qGreen(got) - qGreen(p.colour)),
                                  std::abs(qBlue(got) - qBlue(p.colour))});
        EXPECT_LE(off, 8) << p.x << "," << p.y;
    }
}

TEST(PrintMapTest, CancelPrintsNothingAndShowsNothing)
{
    QTemporaryDir dir;
    int dialogs = 0;
    const auto boxes =
        RunPrint(Quarters(1080), dir.filePath(QStringLiteral("map.pdf")), Answer::Cancel,
                 [&](QPrintDialog& d) {
                     ++dialogs;
                     EXPECT_EQ(d.windowTitle(), QStringLiteral("Print Map"));
                     EXPECT_EQ(d.objectName(), QStringLiteral("PrintDialog"));
                     EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintPageRange));
                     EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintSelection));
                     EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintCurrentPage));
                 });
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("map.pdf"))));
}

// Every text the user can read in the dialog with its options shown.
QStringList VisibleTexts(QPrintDialog& d)
{
    QStringList texts;
    for (QWidget* w : d.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&d))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            texts << l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            texts << g->title();
    }
    return texts;
}

TEST(PrintMapTest, DialogOffersNoPageNumbers)
{
    QTemporaryDir dir;
    QStringList texts;
    int spinBoxes = -1;
    RunPrint(Quarters(100), dir.filePath(QStringLiteral("map.pdf")), Answer::Cancel,
             [&](QPrintDialog& d) {
                 for (QPushButton* b : d.findChildren<QPushButton*>())
                     if (b->text() == QStringLiteral("&Options >>"))
                         b->click();
                 texts = VisibleTexts(d);
                 spinBoxes = 0;
                 for (const QSpinBox* box : d.findChildren<QSpinBox*>())
                     spinBoxes += box->isVisibleTo(&d) ? 1 : 0;
             });
    ASSERT_TRUE(texts.contains(QStringLiteral("&Options <<")))
        << texts.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Copies:")));
    EXPECT_EQ(spinBoxes, 1); // the copies
    const QRegularExpression pages(QStringLiteral("\\bpages?\\b"),
                                   QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(texts.join(QStringLiteral(" | ")).contains(pages))
        << texts.join(QStringLiteral(" | ")).toStdString();
}

TEST(PrintMapTest, PrintsTheMapScaledToTheWidthAndCentredOnOnePage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    EXPECT_TRUE(RunPrint(Quarters(1080), pdf, Answer::Print).empty());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));

    // 1080 canvas pixels shrink to the printable 2400: the map spans x 75..2475
    // and y 75 + 375 = 450..2850 of the page.
    const QRgb white = qRgb(255, 255, 255);
    ExpectPage(pdf, {2550, 3300},
               {{80, 455, qRgb(255, 0, 0)},
                {1270, 455, qRgb(255, 0, 0)},
                {1280, 455, qRgb(0, 255, 0)},
                {2470, 455, qRgb(0, 255, 0)},
                {80, 2845, qRgb(0, 0, 255)},
                {2470, 2845, qRgb(255, 255, 0)},
                {70, 1000, white},
                {2480, 1000, white},
                {1000, 445, white},
                {1000, 2855, white}});
}

TEST(PrintMapTest, PlacedOnThePageTheDialogSettledOn)
{
    const QMarginsF quarterInch(0.25, 0.25, 0.25, 0.25);
    const QPageLayout letterPortrait(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     quarterInch, QPageLayout::Inch);
    const QPageLayout a4Landscape(QPageSize(QPageSize::A4), QPageLayout::Landscape, quarterInch,
                                  QPageLayout::Inch);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb yellow = qRgb(255, 255, 0);
    const struct {
        const char* name;
        QPageLayout before, chosen;
        int canvas;
        QSize page;
        QRect map; // in page pixels at 300 dpi
    } rows[] = {
        // 540 canvas pixels print 2250 wide, centred on A4 landscape's
        // printable 3358 x 2330 (page 842 x 595 points, margins 75).
        {"letter portrait to A4 landscape",
         letterPortrait,
         a4Landscape,
         540,
         {3509, 2480},
         {75 + 554, 75 + 40, 2250, 2250}},
        // 1080 canvas pixels narrowed to Letter portrait's printable 2400, not
        // to the 3358 the landscape page offered before the dialog.
        {"A4 landscape to letter portrait",
         a4Landscape,
         letterPortrait,
         1080,
         {2550, 3300},
         {75, 75 + 375, 2400, 2400}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageLayout(r.before);
        std::vector<BoxRecord> boxes;
        testsupport::DriveModals([&] { PrintMap(nullptr, Quarters(r.canvas), printer); },
                                 [&](QWidget* modal) {
                                     if (auto* box = qobject_cast<QMessageBox*>(modal))
                                         return testsupport::Answer(*box, boxes, QMessageBox::Ok);
                                     auto* dialog = qobject_cast<QPrintDialog*>(modal);
                                     ASSERT_NE(dialog, nullptr);
                                     // What the user's choice of paper and orientation does to the
                                     // printer.
                                     dialog->printer()->setPageLayout(r.chosen);
                                     dialog->done(QDialog::Accepted);
                                 });
        EXPECT_TRUE(boxes.empty());
        const QRect m = r.map;
        ExpectPage(pdf, r.page,
                   {{m.left() + 5, m.top() + 5, red},
                    {m.right() - 5, m.bottom() - 5, yellow},
                    {m.left() - 6, m.center().y(), white},
                    {m.right() + 6, m.center().y(), white},
                    {m.center().x(), m.top() - 6, white},
                    {m.center().x(), m.bottom() + 6, white}});
    }
}

// A PDF file is written like an export: the box names the file and the
// reason in words, and an old file of that name stays as it was.
TEST(PrintMapTest, FailuresAreReported)
{
    QTemporaryDir dir;
    const QString unwritable = dir.filePath(QStringLiteral("missing/map.pdf"));
    const QString old = dir.filePath(QStringLiteral("old.pdf"));
    const QByteArray oldBytes = "%PDF the previous print";
    QFile oldFile(old);
    ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write(oldBytes) == oldBytes.size());
    oldFile.close();
    const QString printed = QStringLiteral("The map could not be printed.\n\n");
    const QString printedTo = QStringLiteral("The map could not be printed to ");
    // clang-format off
    const struct { QString pdf; QImage picture; int failingCall, error; QString text; } cases[] = {
        {unwritable, Quarters(100), 0, 0, printedTo + unwritable + QStringLiteral(".\n\nNo such file or directory")},
        {old, Quarters(100), 3, ENOSPC, printedTo + old + QStringLiteral(".\n\nNo space left on device")},
        {old, Quarters(100), 6, EIO, printedTo + old + QStringLiteral(".\n\nInput/output error")},
        {dir.filePath(QStringLiteral("blank.pdf")), QImage(), 0, 0, printed + QStringLiteral("There is no map picture to print.")},
        {dir.filePath(QStringLiteral("huge.pdf")), QImage(1080, 20000, QImage::Format_RGB32), 0, 0, printed + QStringLiteral("The map is too large to print.")},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        iofaults::Arm(c.failingCall, c.error);
        const auto boxes = RunPrint(c.picture, c.pdf, Answer::PrintUnchecked);
        iofaults::Disarm();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Error"));
        EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
        EXPECT_EQ(boxes[0].text, c.text);
        if (c.pdf == old) {
            EXPECT_EQ(ReadBytes(old), oldBytes);
        } else {
            EXPECT_FALSE(QFile::exists(c.pdf));
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("old.pdf")});
}

// The map is in the PDF as the canvas picture, losslessly and pixel for
// pixel (Qt stores it as a JPEG unless told otherwise).
TEST(PrintMapTest, ThePdfHoldsTheCanvasPicturePixelForPixel)
{
    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    ASSERT_FALSE(pdfimages.isEmpty()) << "pdfimages comes with poppler-utils";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    // Every pixel differs from its neighbours, as grid lines and tile edges do.
    QImage picture(540, 540, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    ASSERT_TRUE(RunPrint(picture, pdf, Answer::Print).empty());

    QProcess list;
    list.start(pdfimages, {QStringLiteral("-list"), pdf});
    ASSERT_TRUE(list.waitForFinished(30000));
    const QStringList lines =
        QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3)
        << lines.join(QLatin1Char('\n')).toStdString(); // header, rule, one image
    // page num type width height color comp bpc enc ...
    const QStringList image = lines[2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    EXPECT_EQ(image.mid(2, 7).join(QLatin1Char(' ')),
              QStringLiteral("image 540 540 rgb 3 8 image"));
    ASSERT_EQ(QProcess::execute(pdfimages,
                                {QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("x"))}),
              0);
    const QImage extracted(dir.filePath(QStringLiteral("x-000.png")));
    EXPECT_TRUE(extracted.convertToFormat(QImage::Format_RGB32) == picture);
}

} // namespace
