// Answers every modal window and pop-up menu the program opens while the
// monkey works, the way a user might: each kind of window has its own
// random script (the Options dialog gets hostile texts, the export dialog
// paths that cannot be written, ...). What it answered is kept for the
// monkey's checks.
#pragma once

#include "MonkeyWorld.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <random>

class QFileDialog;
class QMenu;
class QMessageBox;
class QPrintDialog;

namespace halvorn {
class frmOptions;
}

namespace monkey {

class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    ModalAnswerer(std::mt19937_64& random, const MonkeyWorld& world);

    // The answers given since the last call, as "title|text -> answer".
    QStringList TakeRecord();
    bool PopupSeen() const { return popupSeen_; }

private:
    void Tick();
    void Act(QWidget* target, int round);
    void AnswerPopup(QMenu* menu, int round);
    void AnswerBox(QMessageBox* box);
    void AnswerOptions(halvorn::frmOptions* dialog, int round);
    void AnswerExport(QFileDialog* dialog, int round);
    void AnswerBrowse(QFileDialog* dialog, int round);
    void AnswerPrint(QPrintDialog* dialog, int round);
    void Type(QWidget* field, const QString& text);

    int Below(int n) { return static_cast<int>(random_() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T>
    const T& OneOf(const QList<T>& list)
    {
        return list[Below(static_cast<int>(list.size()))];
    }

    std::mt19937_64& random_;
    const MonkeyWorld& world_;
    QTimer timer_;
    QStringList record_;
    bool popupSeen_ = false;
};

} // namespace monkey
