// Drives the modal dialogs an output command opens, so no test hangs on one,
// and prints QStrings readably in failures.
#pragma once

#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// Runs `action`; each modal widget that becomes active meanwhile is handed to
// `answer` once. One the answer left open is rejected after a while, so a
// broken test fails instead of waiting forever.
inline void DriveModals(const std::function<void()>& action,
                        const std::function<void(QWidget*)>& answer)
{
    QTimer timer;
    timer.setInterval(10);
    QPointer<QWidget> answered;
    int ticksOpen = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != answered) {
            answered = modal;
            ticksOpen = 0;
            answer(modal);
        } else if (modal && ++ticksOpen > 500) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    });
    timer.start();
    action();
    timer.stop();
}

// Records a message box and clicks `button`, or the box's only button.
inline void Answer(QMessageBox& box, std::vector<BoxRecord>& seen, QMessageBox::StandardButton button)
{
    seen.push_back({box.windowTitle(), box.text(), box.icon()});
    QAbstractButton* b = box.button(button);
    (b ? b : box.buttons().value(0))->click();
}

} // namespace testsupport
