#include "output/OutputMessages.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace halvorn {

void ShowOutputError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Output", "Error"), text,
                    QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool ConfirmOverwrite(QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("Output", "Warning"),
                    QCoreApplication::translate(
                        "Output", "File already exists! Do you want to overwrite this file?"),
                    QMessageBox::Yes | QMessageBox::No, parent);
    // Enter must not destroy a file by accident.
    box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace halvorn
