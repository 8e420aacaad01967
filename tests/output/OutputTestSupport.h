// Answers the modal dialogs an output command opens, so tests never hang on
// one, and prints QStrings readably in failures.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "TestSupport.h"

#include <functional>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// Runs `action`; each modal widget that becomes active meanwhile is handed to
// `answer` once. One that is still open long after (the answer did not close
// it) is rejected, so a broken test fails instead of waiting forever.
inline void DriveModals(const std::function<void()>& action,
                        const std::function<void(QWidget*)>& answer)
{
    QTimer timer;
    timer.setInterval(10);
    QPointer<QWidget> answered;
    int ticksOpen = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal == answered) {
            if (++ticksOpen > 500)
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            return;
        }
        answered = modal;
        ticksOpen = 0;
        answer(modal);
    });
    timer.start();
    action();
    timer.stop();
}

// Records a message box and clicks the first of `buttons` it has (else rejects it).
inline void AnswerBox(QMessageBox& box, std::vector<BoxRecord>& seen,
                      std::initializer_list<QMessageBox::StandardButton> buttons)
{
    seen.push_back({box.windowTitle(), box.text(), box.icon()});
    for (QMessageBox::StandardButton b : buttons) {
        if (QAbstractButton* button = box.button(b)) {
            button->click();
            return;
        }
    }
    box.reject();
}

} // namespace testsupport
