// Helpers shared by the tests: solid-colour pictures and answering modal boxes.
#pragma once

#include <QApplication>
#include <QColor>
#include <QDialogButtonBox>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

namespace testsupport {

inline QImage SolidImage(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return img;
}

inline bool WritePng(const QString& path, int w, int h, QColor c)
{
    return SolidImage(w, h, c).save(path, "PNG");
}

// What one modal message box said.
struct BoxRecord {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers every QMessageBox that appears while `action` runs with `answer`,
// recording what each box said.
inline std::vector<BoxRecord> AnswerBoxes(const std::function<void()>& action,
                                          QMessageBox::StandardButton answer)
{
    std::vector<BoxRecord> seen;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.push_back({box->windowTitle(), box->text(), box->icon()});
        if (QAbstractButton* b = box->button(answer))
            b->click();
        else
            box->reject();
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

} // namespace testsupport
