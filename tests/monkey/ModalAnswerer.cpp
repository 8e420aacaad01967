#include "ModalAnswerer.h"

#include "TestSupport.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

namespace monkey {

namespace {

constexpr int GiveUpRound = 4; // a window still open after this many answers is closed

QString Short(const QString& text)
{
    QString s = text.left(90);
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

} // namespace

ModalAnswerer::ModalAnswerer(std::mt19937_64& random, const MonkeyWorld& world)
    : random_(random), world_(world)
{
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::Tick);
    timer_.start();
}

QStringList ModalAnswerer::TakeRecord()
{
    QStringList r;
    r.swap(record_);
    return r;
}

void ModalAnswerer::Tick()
{
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* target = popup ? popup : QApplication::activeModalWidget();
    if (!target || target->property("monkeyBusy").toBool())
        return;
    const int round = target->property("monkeyRounds").toInt();
    target->setProperty("monkeyRounds", round + 1);
    target->setProperty("monkeyBusy", true);
    // Acted on from the window's own event loop, not from this timer: an
    // answer may open another window, which this timer must then answer.
    const QPointer<QWidget> guard(target);
    QTimer::singleShot(0, target, [this, guard, round] {
        Act(guard, round);
        if (guard)
            guard->setProperty("monkeyBusy", false);
    });
}

void ModalAnswerer::Act(QWidget* target, int round)
{
    if (auto* menu = qobject_cast<QMenu*>(target))
        return AnswerPopup(menu, round);
    if (auto* box = qobject_cast<QMessageBox*>(target))
        return AnswerBox(box);
    if (auto* options = qobject_cast<halvorn::frmOptions*>(target))
        return AnswerOptions(options, round);
    if (auto* print = qobject_cast<QPrintDialog*>(target))
        return AnswerPrint(print, round);
    if (auto* files = qobject_cast<QFileDialog*>(target)) {
        if (files->objectName() == QLatin1String("dlgBrowseFolder"))
            return AnswerBrowse(files, round);
        return AnswerExport(files, round);
    }
    auto* dialog = qobject_cast<QDialog*>(target);
    record_ << target->windowTitle() + QStringLiteral(" -> closed");
    if (round == 0 && Chance(50)) {
        // The About box closes on a click anywhere.
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20));
    } else if (round == 0) {
        QTest::keyClick(target, Qt::Key_Escape);
    } else if (dialog) {
        dialog->reject();
    } else {
        target->close();
    }
}

void ModalAnswerer::AnswerPopup(QMenu* menu, int round)
{
    popupSeen_ = true;
    QList<QAction*> items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->isEnabled())
            items << a;
    if (round >= 1 || items.isEmpty()) {
        menu->close();
        record_ << QStringLiteral("popup -> closed");
        return;
    }
    if (Chance(20)) {
        QTest::keyClick(menu, Qt::Key_Escape);
        record_ << QStringLiteral("popup -> Escape");
        return;
    }
    QAction* item = OneOf(items);
    record_ << QStringLiteral("popup -> ") + item->objectName();
    menu->setActiveAction(item);
    QTest::keyClick(menu, Qt::Key_Return);
}

void ModalAnswerer::AnswerBox(QMessageBox* box)
{
    const bool question = box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
    const bool yes = question && Chance(50);
    const QString answer = !question ? QStringLiteral("OK")
                           : yes     ? QStringLiteral("Yes")
                                     : QStringLiteral("No");
    QAbstractButton* button = testsupport::AnswerButton(*box, !question ? QMessageBox::NoButton
                                                              : yes     ? QMessageBox::Yes
                                                                        : QMessageBox::No);
    record_ << box->windowTitle() + QLatin1Char('|') + Short(box->text()) + QStringLiteral(" -> ") +
                   answer;
    if (answer == QLatin1String("OK") && Chance(30))
        QTest::keyClick(box, Qt::Key_Escape);
    else if (button)
        QTest::mouseClick(button, Qt::LeftButton);
    else
        box->reject();
}

void ModalAnswerer::Type(QWidget* field, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (!edit)
        return;
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    if (text.size() > 40 || !ascii) {
        // Pasted, as nobody types ten thousand digits, or entered through an
        // input method, as letters beyond a keyboard's keys are.
        edit->setFocus();
        edit->selectAll();
        edit->insert(text);
        return;
    }
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, text);
}

void ModalAnswerer::AnswerOptions(halvorn::frmOptions* dialog, int round)
{
    const auto find = [dialog](const char* name) {
        return dialog->findChild<QWidget*>(QLatin1String(name));
    };
    if (round >= GiveUpRound) {
        record_ << QStringLiteral("Options -> Cancel (gave up)");
        QTest::mouseClick(find("cmdCancel"), Qt::LeftButton);
        return;
    }
    for (const char* field : {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                              "TextWallShadowTransparency", "TextWallShadowDistance"}) {
        if (Chance(35))
            Type(find(field), OneOf(MonkeyWorld::HostileNumbers()));
    }
    const struct {
        const char* field;
        QString own;
    } folders[] = {{"TextTilesFileLocation", world_.Floors()},
                   {"TextWallsFileLocation", world_.Walls()},
                   {"TextObjectsFileLocation", world_.Objects()}};
    for (const auto& f : folders) {
        if (Chance(12))
            Type(find(f.field), Chance(40) ? f.own : OneOf(world_.FolderTexts()));
    }
    if (Chance(15))
        QTest::mouseClick(find("Check1"), Qt::LeftButton, {}, QPoint(5, 5));
    if (Chance(15))
        QTest::mouseClick(find("btnDefaultShadow"), Qt::LeftButton);
    if (Chance(6)) {
        const char* browse[] = {"btnBrowseFloorsWallsFileLocation", "btnBrowseObjectsFileLocation",
                                "btnBrowseWallsFileLocation"};
        QTest::mouseClick(find(browse[Below(3)]), Qt::LeftButton);
    }
    const int way = Below(100);
    if (way < 35) {
        record_ << QStringLiteral("Options -> OK");
        QTest::mouseClick(find("cmdOK"), Qt::LeftButton);
    } else if (way < 55) {
        record_ << QStringLiteral("Options -> Apply");
        QTest::mouseClick(find("cmdApply"), Qt::LeftButton);
    } else if (way < 75) {
        record_ << QStringLiteral("Options -> Cancel");
        QTest::mouseClick(find("cmdCancel"), Qt::LeftButton);
    } else if (way < 90) {
        record_ << QStringLiteral("Options -> Escape");
        QTest::keyClick(dialog, Qt::Key_Escape);
    } else {
        record_ << QStringLiteral("Options -> Enter");
        QTest::keyClick(dialog, Qt::Key_Return);
    }
}

void ModalAnswerer::AnswerExport(QFileDialog* dialog, int round)
{
    if (round >= 1 || Chance(20)) {
        record_ << QStringLiteral("Export -> Cancel");
        dialog->reject();
        return;
    }
    const QStringList filters = dialog->nameFilters();
    const QString filter = filters.isEmpty() ? QString() : OneOf(filters);
    const QString path = OneOf(world_.ExportPaths());
    record_ << QStringLiteral("Export -> ") + filter + QLatin1Char(' ') + path;
    dialog->selectNameFilter(filter);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept runs
}

void ModalAnswerer::AnswerBrowse(QFileDialog* dialog, int round)
{
    if (round >= 1 || Chance(50)) {
        record_ << QStringLiteral("Browse -> Cancel");
        dialog->reject();
        return;
    }
    const QString folder =
        OneOf(QStringList{world_.Floors(), world_.Walls(), world_.Objects(), world_.Hostile()});
    record_ << QStringLiteral("Browse -> ") + folder;
    dialog->setDirectory(folder);
    dialog->selectFile(folder);
    static_cast<QDialog*>(dialog)->accept();
}

void ModalAnswerer::AnswerPrint(QPrintDialog* dialog, int round)
{
    if (round >= 1 || Chance(40)) {
        record_ << QStringLiteral("Print -> Cancel");
        dialog->reject();
        return;
    }
    const QString pdf = Chance(85) ? world_.Exports() + QStringLiteral("/map.pdf")
                                   : world_.Exports() + QStringLiteral("/missing/map.pdf");
    record_ << QStringLiteral("Print -> ") + pdf;
    QPrinter* printer = dialog->printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    // Accepted as the dialog's own OK would, without its check of the file.
    dialog->done(QDialog::Accepted);
}

} // namespace monkey
