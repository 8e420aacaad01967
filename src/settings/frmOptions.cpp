#include "settings/frmOptions.h"

#include "imaging/Imaging.h"
#include "map/Numeric.h"
#include "settings/OptionsStyle.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"
#include "settings/ShadowTexts.h"
#include "settings/TileFolders.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

#include <exception>
#include <optional>

namespace halvorn {

namespace {

// Nothing may leave a Qt event handler by exception; whatever the redraw
// request's receiver or the store throws is shown to the user instead.
template <class F>
void Guarded(QWidget* owner, F&& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        QMessageBox::critical(owner, QStringLiteral("Error"), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::critical(owner, QStringLiteral("Error"), QStringLiteral("Unexpected error."));
    }
}

template <class W>
W* Make(QWidget* parent, const char* name, const QString& text, QRect where)
{
    auto* w = new W(text, parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(where);
    return w;
}

// Captions beside text boxes are placed by their top edge, where their text
// starts, a few pixels below the top of the box they name.
QLabel* MakeCaption(QWidget* parent, const char* name, const char* text, QRect where)
{
    auto* label = Make<QLabel>(parent, name, QLatin1String(text), where);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect where)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(where);
    return edit;
}

QString StoredNumber(const char* key, const char* fallback)
{
    return NumberText(Val(GetSetting(QLatin1String(key), QLatin1String(fallback))));
}

// Screen readers would otherwise name a box after its frame ("File
// Locations", "Shadows"), the same for every box in it.
void NameAfter(QLineEdit* edit, QLabel* label)
{
    label->setBuddy(edit);
    QString name = label->text();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    edit->setAccessibleName(name);
}

// The pixel layout was drawn for a small dialog font; with a wider system
// font the captions would run into the boxes beside them. Steps the font down
// until every caption fits its place, never below a still readable size.
void FitFont(QDialog* dialog)
{
    const auto fits = [dialog] {
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            if (label->sizeHint().width() > label->width())
                return false;
        for (const QCheckBox* box : dialog->findChildren<QCheckBox*>())
            if (box->sizeHint().width() > box->width())
                return false;
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            const QFontMetrics metrics(button->font());
            for (const QString& line : button->text().split(QLatin1Char('\n')))
                if (metrics.horizontalAdvance(line) + 6 > button->width())
                    return false;
        }
        return true;
    };
    QFont font = dialog->font();
    const double smallest = 6.0;
    for (double size = font.pointSizeF(); size > smallest && !fits(); size -= 0.5) {
        font.setPointSizeF(size - 0.5);
        dialog->setFont(font);
    }
}

} // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(385, 256);

    auto* fraMain = Make<QGroupBox>(this, "fraSample1", QStringLiteral("Main "), {4, 3, 377, 39});
    Check1 = Make<QCheckBox>(fraMain, "Check1", QStringLiteral("Show Splash Screen at startup"),
                             {13, 19, 188, 12});

    auto* fraFiles =
        Make<QGroupBox>(this, "fraSample2", QStringLiteral("File Locations"), {4, 44, 377, 81});
    struct FolderRow {
        const char* label;
        const char* labelName;
        const char* edit;
        const char* button;
        const char* title;
        int top; // of the label; the box sits 2 pixels higher, its button 1
        QLineEdit** field;
    };
    const FolderRow rows[] = {
        {"Floors:", "lblFloors", "TextTilesFileLocation", "btnBrowseFloorsWallsFileLocation",
         "Select Floors directory", 18, &TextTilesFileLocation},
        {"Objects:", "lblObjects", "TextObjectsFileLocation", "btnBrowseObjectsFileLocation",
         "Select Objects directory", 37, &TextObjectsFileLocation},
        {"Walls:", "lblWalls", "TextWallsFileLocation", "btnBrowseWallsFileLocation",
         "Select Walls directory", 56, &TextWallsFileLocation},
    };
    // Each folder box is followed by its own "..." button in the tab order.
    for (const FolderRow& row : rows) {
        QLabel* label = MakeCaption(fraFiles, row.labelName, row.label, {10, row.top, 44, 19});
        QLineEdit* edit = MakeEdit(fraFiles, row.edit, {55, row.top - 2, 288, 19});
        *row.field = edit;
        NameAfter(edit, label);
        auto* browse = Make<QPushButton>(fraFiles, row.button, QStringLiteral("..."),
                                         {348, row.top - 1, 20, 17});
        browse->setAutoDefault(false);
        const QString title = QLatin1String(row.title);
        // "..." says nothing when read aloud; the chooser's title does.
        browse->setAccessibleName(title);
        connect(browse, &QPushButton::clicked, this,
                [this, edit, title] { Guarded(this, [&] { BrowseFolder(edit, title); }); });
    }

    auto* fraShadows =
        Make<QGroupBox>(this, "fraSample3", QStringLiteral("Shadows"), {4, 126, 377, 94});
    struct ShadowRow {
        const char* label;
        const char* labelName;
        const char* edit;
        const char* unit;
        const char* unitName;
        int top;     // of the label and the unit
        int editTop; // of the text box
        QLineEdit** field;
    };
    const ShadowRow shadowRows[] = {
        {"Object Shadow Transparency", "lblObjectShadowTransparency",
         "TextObjectShadowTransparency", "%", "lblObjectShadowTransparencyUnit", 16, 13,
         &TextObjectShadowTransparency},
        {"Object Shadow Distance", "lblObjectShadowDistance", "TextObjectShadowDistance", "pixels",
         "lblObjectShadowDistanceUnit", 35, 32, &TextObjectShadowDistance},
        {"Wall Shadow Transparency", "lblWallShadowTransparency", "TextWallShadowTransparency",
         "(0-255)", "lblWallShadowTransparencyUnit", 54, 51, &TextWallShadowTransparency},
        {"Wall Shadow Distance", "lblWallShadowDistance", "TextWallShadowDistance", "pixels",
         "lblWallShadowDistanceUnit", 72, 70, &TextWallShadowDistance},
    };
    for (const ShadowRow& row : shadowRows) {
        QLabel* label = MakeCaption(fraShadows, row.labelName, row.label, {8, row.top, 144, 18});
        *row.field = MakeEdit(fraShadows, row.edit, {153, row.editTop, 52, 19});
        QLabel* unit = MakeCaption(fraShadows, row.unitName, row.unit, {209, row.top, 50, 18});
        NameAfter(*row.field, label);
        (*row.field)->setAccessibleDescription(unit->text());
    }
    auto* btnDefaultShadow =
        Make<QPushButton>(fraShadows, "btnDefaultShadow",
                          QStringLiteral("Default\nShadow\nParameters"), {272, 27, 67, 49});
    btnDefaultShadow->setAutoDefault(false);
    btnDefaultShadow->setAccessibleName(QStringLiteral("Default Shadow Parameters"));
    connect(btnDefaultShadow, &QPushButton::clicked, this, [this] { OnDefaultShadow(); });

    auto* cmdOK = Make<QPushButton>(this, "cmdOK", QStringLiteral("OK"), {146, 225, 73, 25});
    // No button is the default: Enter in a text box presses nothing, so a
    // half-typed value is never saved by accident. Escape still cancels.
    cmdOK->setAutoDefault(false);
    cmdCancel = Make<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"), {228, 225, 73, 25});
    cmdCancel->setAutoDefault(false);
    auto* cmdApply =
        Make<QPushButton>(this, "cmdApply", QStringLiteral("Apply"), {308, 225, 73, 25});
    cmdApply->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, [this] { Guarded(this, [this] { OnOk(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdApply, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { OnApply(); }); });

    // Made last, so the dialog deletes it after the widgets that use it.
    auto* look = new OptionsStyle(style()->name());
    look->setParent(this);
    for (QWidget* w : std::initializer_list<QWidget*>{fraMain, Check1, fraFiles, fraShadows})
        w->setStyle(look);

    FitFont(this);
    GetSettings();
}

void frmOptions::GetSettings()
{
    const QString splash =
        GetSetting(QLatin1String(keys::ShowSplash), QLatin1String(defaults::ShowSplash));
    Check1->setChecked(RoundToInt(Val(splash)) == 1);

    TextTilesFileLocation->setText(
        GetSetting(QLatin1String(keys::LocationFloors),
                   DefaultTileFolder(QLatin1String(defaults::FloorsFolder))));
    TextObjectsFileLocation->setText(
        GetSetting(QLatin1String(keys::LocationObjects),
                   DefaultTileFolder(QLatin1String(defaults::ObjectsFolder))));
    TextWallsFileLocation->setText(
        GetSetting(QLatin1String(keys::LocationWalls),
                   DefaultTileFolder(QLatin1String(defaults::WallsFolder))));

    TextObjectShadowTransparency->setText(
        StoredNumber(keys::ObjectShadowTransparency, defaults::ObjectShadowTransparency));
    TextObjectShadowDistance->setText(
        StoredNumber(keys::ObjectShadowDistance, defaults::ObjectShadowDistance));
    TextWallShadowTransparency->setText(
        StoredNumber(keys::WallShadowTransparency, defaults::WallShadowTransparency));
    TextWallShadowDistance->setText(
        StoredNumber(keys::WallShadowDistance, defaults::WallShadowDistance));
}

void frmOptions::SetSettings()
{
    settingsFailed_ = false;
    bool stored = true;
    const auto save = [&stored](const char* key, const QString& value) {
        const bool ok = SaveSetting(QLatin1String(key), value);
        stored = stored && ok;
        return ok;
    };

    save(keys::ShowSplash, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    // Folders are taken as typed; a missing folder shows up as an empty
    // library, which the user can see and correct.
    save(keys::LocationFloors, TextTilesFileLocation->text());
    save(keys::LocationObjects, TextObjectsFileLocation->text());
    save(keys::LocationWalls, TextWallsFileLocation->text());

    // A value takes effect only once it is stored, so what the map shows
    // never differs from what the next start will read.
    const ShadowText objectAlpha = NumberInRange(TextObjectShadowTransparency->text(), 100.0);
    if (!objectAlpha) {
        ShowError(QStringLiteral("Object Shadow Transparency must be a value from 0-100!"));
        settingsFailed_ = true;
    } else if (save(keys::ObjectShadowTransparency, *objectAlpha)) {
        ObjectShadowAlpha = ObjectShadowAlphaFrom(*objectAlpha);
    }

    const ShadowText objectOffset = UsableDistance(TextObjectShadowDistance->text());
    if (!objectOffset) {
        ShowError(QStringLiteral("Object Shadow Distance must be valid number!"));
        settingsFailed_ = true;
    } else if (save(keys::ObjectShadowDistance, *objectOffset)) {
        ObjectShadowOffset = ShadowDistanceFrom(*objectOffset);
    }

    const ShadowText wallAlpha = NumberInRange(TextWallShadowTransparency->text(), 255.0);
    if (!wallAlpha) {
        ShowError(QStringLiteral("Wall Shadow Transparency must be a value from 0-255!"));
        settingsFailed_ = true;
    } else if (save(keys::WallShadowTransparency, *wallAlpha)) {
        WallShadowAlpha = WallShadowAlphaFrom(*wallAlpha);
    }

    const ShadowText wallOffset = UsableDistance(TextWallShadowDistance->text());
    if (!wallOffset) {
        ShowError(QStringLiteral("Wall Shadow Distance must be valid number!"));
        settingsFailed_ = true;
    } else if (save(keys::WallShadowDistance, *wallOffset)) {
        WallShadowOffset = ShadowDistanceFrom(*wallOffset);
    }

    if (!stored) {
        ShowError(QStringLiteral("The settings could not be saved to %1.\n\n"
                                 "Check that the folder exists and can be written, and that "
                                 "the disk is not full.")
                      .arg(SettingsLocation()));
        settingsFailed_ = true;
    }
}

void frmOptions::done(int result)
{
    // done() can be reached again on a hidden dialog (say, reject() after
    // accept()); only a real close redraws.
    const bool wasOpen = isVisible();
    QDialog::done(result);
    if (wasOpen)
        Guarded(parentWidget(), [this] { Redraw(); });
}

void frmOptions::keyPressEvent(QKeyEvent* event)
{
    // Escape goes through the Cancel button so both ways out behave alike.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmOptions::OnOk()
{
    SetSettings();
    if (!settingsFailed_)
        accept();
}

void frmOptions::OnApply()
{
    SetSettings();
    Redraw();
}

void frmOptions::OnDefaultShadow()
{
    TextObjectShadowTransparency->setText(QLatin1String(defaults::ObjectShadowTransparency));
    TextObjectShadowDistance->setText(QLatin1String(defaults::ObjectShadowDistance));
    TextWallShadowTransparency->setText(QLatin1String(defaults::WallShadowTransparency));
    TextWallShadowDistance->setText(QLatin1String(defaults::WallShadowDistance));
}

void frmOptions::BrowseFolder(QLineEdit* target, const QString& title)
{
    // Start where the box already points when that folder exists, so a small
    // correction does not mean walking down from the desktop again.
    // Otherwise the desktop, or the home folder on systems without one: a
    // missing start folder would land in the chooser's name box and make
    // every choice point at a folder that does not exist.
    QString start = target->text().trimmed();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QFileInfo(start).isDir())
        start = QDir::homePath();

    QFileDialog chooser(this, title, start);
    chooser.setObjectName(QStringLiteral("dlgBrowseFolder"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const QStringList chosen = chooser.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty())
        return;
    target->setText(QDir::toNativeSeparators(chosen.front()));
}

void frmOptions::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok, this);
    box.exec();
}

void frmOptions::Redraw()
{
    emit RedrawRequested();
}

} // namespace halvorn
