// Answers every modal window and pop-up menu the program opens while the
// monkey works, the way a user might: each kind of window has its own random
// script (Options gets hostile texts, the export dialog paths that cannot be
// written, ...). What it answered is kept for the monkey's checks and reports.
#pragma once

#include "World.h"

#include "TestSupport.h"
#include "settings/frmOptions.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include <algorithm>
#include <utility>

namespace monkey {

using halvorn::frmOptions;

class Answerer {
public:
    Answerer(Dice& dice, const World& world) : dice_(dice), world_(world)
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Tick(); });
        timer_.start();
    }
    // The answers given since the last call, as "title|text -> answer".
    QStringList TakeRecord() { return std::exchange(record_, {}); }
    bool PopupSeen() const { return popupSeen_; }

private:
    static constexpr int GiveUpRound = 4; // Options still open after this many answers is closed

    void Tick()
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

    void Act(QWidget* target, int round)
    {
        if (auto* menu = qobject_cast<QMenu*>(target))
            return AnswerPopup(menu, round);
        if (auto* box = qobject_cast<QMessageBox*>(target))
            return AnswerBox(box);
        if (auto* options = qobject_cast<frmOptions*>(target))
            return AnswerOptions(options, round);
        if (auto* print = qobject_cast<QPrintDialog*>(target))
            return AnswerPrint(print, round);
        if (auto* files = qobject_cast<QFileDialog*>(target))
            return files->objectName() == QLatin1String("dlgBrowseFolder")
                       ? AnswerBrowse(files, round)
                       : AnswerExport(files, round);
        record_ << target->windowTitle() + QStringLiteral(" -> closed");
        if (round == 0 && dice_.Chance(50))
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20)); // About closes so
        else if (round == 0)
            QTest::keyClick(target, Qt::Key_Escape);
        else if (auto* dialog = qobject_cast<QDialog*>(target))
            dialog->reject();
        else
            target->close();
    }

    void AnswerPopup(QMenu* menu, int round)
    {
        popupSeen_ = true;
        QList<QAction*> items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isEnabled())
                items << a;
        if (round >= 1 || items.isEmpty()) {
            menu->close();
            record_ << QStringLiteral("popup -> closed");
        } else if (dice_.Chance(20)) {
            QTest::keyClick(menu, Qt::Key_Escape);
            record_ << QStringLiteral("popup -> Escape");
        } else {
            QAction* item = dice_.OneOf(items);
            record_ << QStringLiteral("popup -> ") + item->objectName();
            menu->setActiveAction(item);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    }

    void AnswerBox(QMessageBox* box)
    {
        const bool question = box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
        const bool yes = question && dice_.Chance(50);
        record_ << box->windowTitle() + QLatin1Char('|') +
                       box->text().left(90).replace(QLatin1Char('\n'), QLatin1Char(' ')) +
                       QLatin1String(!question ? " -> OK"
                                     : yes     ? " -> Yes"
                                               : " -> No");
        if (!question && dice_.Chance(30))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(
                testsupport::AnswerButton(*box, yes ? QMessageBox::Yes : QMessageBox::No),
                Qt::LeftButton);
    }

    // Typed key by key; pasted when long, as nobody types ten thousand
    // digits, or entered through an input method beyond a keyboard's keys.
    static void Type(QWidget* field, const QString& text)
    {
        auto* edit = qobject_cast<QLineEdit*>(field);
        const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x20 && c.unicode() < 0x7f;
        });
        edit->setFocus();
        edit->selectAll();
        if (text.size() > 40 || !ascii)
            edit->insert(text);
        else if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    void AnswerOptions(frmOptions* dialog, int round)
    {
        const auto click = [dialog](const char* name) {
            QTest::mouseClick(dialog->findChild<QWidget*>(QLatin1String(name)), Qt::LeftButton);
        };
        if (round >= GiveUpRound) {
            record_ << QStringLiteral("Options -> Cancel (gave up)");
            return click("cmdCancel");
        }
        const auto field = [dialog](const char* name) {
            return dialog->findChild<QWidget*>(QLatin1String(name));
        };
        for (const char* name : {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                                 "TextWallShadowTransparency", "TextWallShadowDistance"})
            if (dice_.Chance(35))
                Type(field(name), dice_.OneOf(World::HostileNumbers()));
        // clang-format off
        const struct { const char* field; const char* own; } folders[] = {
            {"TextTilesFileLocation", "Floors"}, {"TextWallsFileLocation", "Walls"}, {"TextObjectsFileLocation", "Objects"},
        };
        // clang-format on
        for (const auto& f : folders)
            if (dice_.Chance(12))
                Type(field(f.field),
                     dice_.Chance(40) ? world_.Path(f.own) : dice_.OneOf(world_.FolderTexts()));
        if (dice_.Chance(15))
            QTest::mouseClick(field("Check1"), Qt::LeftButton, {}, QPoint(5, 5));
        if (dice_.Chance(15))
            click("btnDefaultShadow");
        if (dice_.Chance(6)) {
            const char* browse[] = {"btnBrowseFloorsWallsFileLocation",
                                    "btnBrowseObjectsFileLocation", "btnBrowseWallsFileLocation"};
            click(browse[dice_.Below(3)]);
        }
        const int way = dice_.Below(100);
        const char* button = way < 35 ? "OK" : way < 55 ? "Apply" : way < 75 ? "Cancel" : nullptr;
        if (button) {
            record_ << QStringLiteral("Options -> ") + QLatin1String(button);
            click((std::string("cmd") + button).c_str());
        } else {
            record_ << QLatin1String(way < 90 ? "Options -> Escape" : "Options -> Enter");
            QTest::keyClick(dialog, way < 90 ? Qt::Key_Escape : Qt::Key_Return);
        }
    }

    // A file or print dialog is cancelled when asked again, or by chance.
    bool Cancelled(QDialog* dialog, int round, int percent, const char* name)
    {
        if (round < 1 && !dice_.Chance(percent))
            return false;
        record_ << QLatin1String(name) + QStringLiteral(" -> Cancel");
        dialog->reject();
        return true;
    }

    void AnswerExport(QFileDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 20, "Export"))
            return;
        const QStringList filters = dialog->nameFilters();
        const QString filter = filters.isEmpty() ? QString() : dice_.OneOf(filters);
        const QString path = dice_.OneOf(world_.ExportPaths());
        record_ << QStringLiteral("Export -> ") + filter + QLatin1Char(' ') + path;
        dialog->selectNameFilter(filter);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        else
            dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // the file dialog's own accept runs
    }

    void AnswerBrowse(QFileDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 50, "Browse"))
            return;
        const char* sets[] = {"Floors", "Walls", "Objects", "Hostile"};
        const QString folder = world_.Path(sets[dice_.Below(4)]);
        record_ << QStringLiteral("Browse -> ") + folder;
        dialog->setDirectory(folder);
        dialog->selectFile(folder);
        static_cast<QDialog*>(dialog)->accept();
    }

    void AnswerPrint(QPrintDialog* dialog, int round)
    {
        if (Cancelled(dialog, round, 40, "Print"))
            return;
        const QString pdf =
            world_.Path(dice_.Chance(85) ? "Exports/map.pdf" : "Exports/missing/map.pdf");
        record_ << QStringLiteral("Print -> ") + pdf;
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        // Accepted as the dialog's own OK would, without its check of the file.
        dialog->done(QDialog::Accepted);
    }

    Dice& dice_;
    const World& world_;
    QTimer timer_;
    QStringList record_;
    bool popupSeen_ = false;
};

} // namespace monkey
