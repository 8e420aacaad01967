// Export and printing driven through their real dialogs, as the user does;
// shared by the output tests and the full-disk tests.
#pragma once

#include "output/ExportMap.h"
#include "output/PrintMap.h"

#include "TestSupport.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace outputtest {

using testsupport::BoxRecord;

// What the main window keeps from one export to the next.
struct DialogMemory {
    QString ExportFileName;
    int FilterIndex = 1;
};

// Exports through the real dialog: cancelled when `name` is empty, else the
// filter is picked first (Qt rewrites a typed extension when the filter
// changes; an empty one leaves the filter offered) and the name typed; every
// box is answered with `answer`. `onOpen` sees the dialog as it opened.
inline std::vector<BoxRecord> RunExport(const QImage& picture, DialogMemory& memory,
                                        const QString& filter, const QString& name,
                                        QMessageBox::StandardButton answer = QMessageBox::Ok,
                                        const std::function<void(QFileDialog&)>& onOpen = {})
{
    std::vector<BoxRecord> boxes;
    testsupport::DriveModals(
        [&] { halvorn::ExportMap(nullptr, picture, memory.ExportFileName, memory.FilterIndex); },
        [&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                return testsupport::Answer(*box, boxes, answer);
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (onOpen)
                onOpen(*dialog);
            if (name.isEmpty())
                return dialog->reject();
            if (!filter.isEmpty())
                dialog->selectNameFilter(filter);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it; the override runs
        });
    return boxes;
}

// How the test answers the print dialog; Unchecked skips the dialog's own
// check of the output file, so the failure reaches the print itself.
enum class PrintAnswer { Cancel, Print, PrintUnchecked };

// Prints into the PDF file `pdf`, on the page `layout` (Letter paper with
// quarter-inch margins unless given: a printable area of 2400 x 3150 printer
// pixels at 300 dpi). `onOpen` sees the dialog as it opened.
inline std::vector<BoxRecord> RunPrint(
    const QImage& picture, const QString& pdf, PrintAnswer answer,
    const std::function<void(QPrintDialog&)>& onOpen = {},
    const QPageLayout& layout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                            QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch))
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(layout);
    std::vector<BoxRecord> boxes;
    testsupport::DriveModals([&] { halvorn::PrintMap(nullptr, picture, printer); },
                             [&](QWidget* modal) {
                                 if (auto* box = qobject_cast<QMessageBox*>(modal))
                                     return testsupport::Answer(*box, boxes, QMessageBox::Ok);
                                 auto* dialog = qobject_cast<QPrintDialog*>(modal);
                                 ASSERT_NE(dialog, nullptr);
                                 if (onOpen)
                                     onOpen(*dialog);
                                 if (answer == PrintAnswer::Cancel)
                                     dialog->reject();
                                 else if (answer == PrintAnswer::Print)
                                     dialog->accept();
                                 else
                                     dialog->done(QDialog::Accepted);
                             });
    return boxes;
}

// The texts of the boxes shown.
inline QStringList Texts(const std::vector<BoxRecord>& boxes)
{
    QStringList texts;
    for (const BoxRecord& box : boxes)
        texts << box.text;
    return texts;
}

} // namespace outputtest
