#include "output/PrintMap.h"

#include "OutputDriving.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "storage/IoFaults.h"

#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

using namespace halvorn;
using namespace outputtest;
using testsupport::ReadAll;

namespace {

// Red, green, blue and yellow quarters: a flipped or turned print shows, and
// the flat quarters keep their colours through the PDF renderer's scaling,
// where a picture of single pixels would not.
QImage Quarters(int size)
{
    QImage img = testsupport::SolidImage(size, size, Qt::red).convertToFormat(QImage::Format_RGB32);
    const int half = size / 2;
    QPainter p(&img);
    p.fillRect(half, 0, size - half, half, Qt::green);
    p.fillRect(0, half, half, size - half, Qt::blue);
    p.fillRect(half, half, size - half, size - half, Qt::yellow);
    return img;
}

// The PDF holds one page of `pageSize` pixels at 300 dpi with the quarters
// at `map`, white around them.
void ExpectPage(const QString& pdf, QSize pageSize, const QRect& m)
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
    const int midX = m.left() + m.width() / 2, midY = m.top() + m.height() / 2;
    const QRgb white = qRgb(255, 255, 255);
    // clang-format off
    const struct { int x, y; QRgb colour; } probes[] = {
        {m.left() + 5, m.top() + 5, qRgb(255, 0, 0)}, {midX - 5, m.top() + 5, qRgb(255, 0, 0)}, {midX + 5, m.top() + 5, qRgb(0, 255, 0)},
        {m.right() - 5, m.top() + 5, qRgb(0, 255, 0)}, {m.left() + 5, m.bottom() - 5, qRgb(0, 0, 255)}, {m.right() - 5, m.bottom() - 5, qRgb(255, 255, 0)},
        {m.left() - 6, midY, white}, {m.right() + 6, midY, white}, {midX, m.top() - 6, white}, {midX, m.bottom() + 6, white},
    };
    // clang-format on
    for (const auto& p : probes) {
        const QRgb got = page.pixel(p.x, p.y);
        const int off = std::max({std::abs(qRed(got) - qRed(p.colour)),
                                  std::abs(qGreen(got) - qGreen(p.colour)),
                                  std::abs(qBlue(got) - qBlue(p.colour))});
        EXPECT_LE(off, 8) << p.x << "," << p.y;
    }
}

// The dialog offers no page numbers to choose (Qt shows none of its page
// choices with these options off); Cancel prints nothing and shows nothing
// (a print without the dialog would leave its file).
TEST(PrintMapTest, DialogOffersNoPageNumbersAndCancelPrintsNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(RunPrint(Quarters(100), dir.filePath(QStringLiteral("map.pdf")),
                         PrintAnswer::Cancel,
                         [&](QPrintDialog& d) {
                             EXPECT_EQ(d.windowTitle(), QStringLiteral("Print Map"));
                             EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintPageRange));
                             EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintSelection));
                             EXPECT_FALSE(d.testOption(QAbstractPrintDialog::PrintCurrentPage));
                         })
                    .empty());
    EXPECT_TRUE(testsupport::Entries(dir.path()).isEmpty());
}

// The map is scaled to the printable width only when wider and centred, on
// the page the dialog settled on, whatever the printer had before: 1080
// canvas pixels shrink to Letter's printable 2400 at 300 dpi, not to the
// 3358 of the A4 landscape page offered before the dialog. Other sizes and
// pages: tests/output/PrintPlacementTest.cpp.
TEST(PrintMapTest, PrintedScaledToTheWidthAndCentredOnThePageTheDialogSettledOn)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("map.pdf"));
    const QMarginsF quarterInch(0.25, 0.25, 0.25, 0.25);
    const QPageLayout letterPortrait(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                     quarterInch, QPageLayout::Inch);
    const QPageLayout a4Landscape(QPageSize(QPageSize::A4), QPageLayout::Landscape, quarterInch,
                                  QPageLayout::Inch);
    EXPECT_TRUE(RunPrint(
                    Quarters(1080), pdf, PrintAnswer::PrintUnchecked,
                    [&](QPrintDialog& d) { d.printer()->setPageLayout(letterPortrait); },
                    a4Landscape)
                    .empty());
    ExpectPage(pdf, {2550, 3300}, {75, 75 + 375, 2400, 2400});
}

// A PDF file is written like an export: the box names the file and the
// reason in words, and an old file of that name stays as it was.
TEST(PrintMapTest, FailuresAreReported)
{
    QTemporaryDir dir;
    const QString unwritable = dir.filePath(QStringLiteral("missing/map.pdf"));
    const QString old = dir.filePath(QStringLiteral("old.pdf"));
    const QByteArray oldBytes = "%PDF the previous print";
    ASSERT_TRUE(testsupport::WriteBytes(old, oldBytes));
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
        const auto boxes = RunPrint(c.picture, c.pdf, PrintAnswer::PrintUnchecked);
        iofaults::Disarm();
        EXPECT_EQ(boxes, std::vector{testsupport::ErrorBox(c.text)});
        if (c.pdf == old) {
            EXPECT_EQ(ReadAll(old), oldBytes);
        } else {
            EXPECT_FALSE(QFile::exists(c.pdf));
        }
    }
    EXPECT_EQ(testsupport::Entries(dir.path()), QStringList{QStringLiteral("old.pdf")});
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
    const QImage picture = testsupport::Picture(540, 540).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(RunPrint(picture, pdf, PrintAnswer::Print).empty());

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
