#include "app/HalvornApplication.h"

#include "imaging/AppError.h"

#include <QMessageBox>
#include <QTimer>

#include <exception>

namespace halvorn {

HalvornApplication::HalvornApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool HalvornApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& e) {
        ReportLater(e.Description());
    } catch (const std::exception& e) {
        ReportLater(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportLater(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

void HalvornApplication::ReportLater(const QString& description)
{
    // A box opened inside the failing handler would run a nested event loop
    // while that handler's state is half torn down.
    QTimer::singleShot(0, qApp, [description] {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Halvorn III"),
                              description);
    });
}

} // namespace halvorn
