// The Options dialog driven through its widgets, as the user would.
#include "settings/frmOptions.h"

#include "QStringPrint.h"
#include "TestSupport.h"
#include "imaging/Imaging.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>
#include <vector>

using namespace halvorn;
using testsupport::AnswerBoxes;

namespace {

QSettings Store()
{
    return {QSettings::NativeFormat, QSettings::UserScope, QLatin1String(SettingsApplication)};
}

template <class W = QWidget>
W* Find(const QWidget& dlg, const char* name)
{
    auto* w = dlg.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void Type(QLineEdit* edit, const QString& text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void Click(const QWidget& dlg, const char* button)
{
    QTest::mouseClick(Find(dlg, button), Qt::LeftButton);
}

QStringList Texts(const std::vector<testsupport::BoxRecord>& boxes)
{
    QStringList texts;
    for (const auto& b : boxes) {
        EXPECT_EQ(b, testsupport::ErrorBox(b.text)); // the title and the warning sign
        texts << b.text;
    }
    return texts;
}

// What the store holds under `key`, or "unset".
QString Stored(const char* key)
{
    return GetSetting(QLatin1String(key), QStringLiteral("unset"));
}

const char* const ShadowBoxes[] = {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                                   "TextWallShadowTransparency", "TextWallShadowDistance"};
const char* const Defaults[] = {"40", "5", "32", "7"};

// Each test starts from an empty store and the built-in shadow values.
bool ResetStore()
{
    Store().remove("Settings");
    ObjectShadowAlpha = 0.4f, ObjectShadowOffset = 5, WallShadowAlpha = 32, WallShadowOffset = 7;
    return true;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetStore(), dlg.GetSettings(), redraws = 0, dlg.show(); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(dlg, name); }
    void Set(const char* name, const QString& text) { Type(Edit(name), text); }
    // Clicks `button`, answering every box; the boxes' texts, each an Error box.
    QStringList Press(const char* button)
    {
        return Texts(AnswerBoxes([&] { Click(dlg, button); }, QMessageBox::Ok));
    }
    bool reset = ResetStore(); // before the dialog reads the store
    int redraws = 0;
    frmOptions dlg;
    const QMetaObject::Connection counted =
        QObject::connect(&dlg, &frmOptions::RedrawRequested, [this] { ++redraws; });
};

} // namespace

// The pixel layout is the design's; what must hold at any font is that
// every control stands inside the dialog and its frame, none covers
// another, each caption stands beside the box it names and shows whole; a
// screen reader names each control by its caption.
TEST_F(OptionsDialog, EmptyStoreShowsDefaultsInALayoutWhereEverythingFits)
{
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Options"));
    EXPECT_TRUE(Find<QCheckBox>(dlg, "Check1")->isChecked());
    EXPECT_EQ(Edit("TextObjectsFileLocation")->text(), AppPath() + QStringLiteral("Objects"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Edit(ShadowBoxes[i])->text(), QLatin1String(Defaults[i]));

    std::vector<QWidget*> parents{&dlg};
    for (QGroupBox* frame : dlg.findChildren<QGroupBox*>())
        parents.push_back(frame);
    for (QWidget* parent : parents) {
        const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* w : children) {
            const std::string name = w->objectName().toStdString();
            EXPECT_TRUE(parent->rect().contains(w->geometry())) << name;
            for (const QWidget* other : children)
                EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry()))
                    << name << " covers " << other->objectName().toStdString();
        }
    }
    for (const QLabel* label : dlg.findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        const QWidget* box = label->buddy(); // on the row of its box
        EXPECT_TRUE(!box || (label->y() >= box->y() && label->y() <= box->geometry().bottom()))
            << label->text().toStdString();
    }
    for (const QPushButton* button : dlg.findChildren<QPushButton*>())
        for (const QString& line : button->text().split(QLatin1Char('\n')))
            EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(line), button->width())
                << line.toStdString();
    // The whole check box shows in its height: its box is not cut.
    auto* check = Find<QCheckBox>(dlg, "Check1");
    EXPECT_LE(check->sizeHint().width(), check->width());
    QStyleOptionButton option;
    option.initFrom(check);
    const QRect box = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check);
    EXPECT_TRUE(check->rect().contains(box)) << box.y() << " + " << box.height();
    // A box is heard by its caption, a button without words or of two lines
    // by what it does; the unit goes with the value.
    // clang-format off
    const struct { const char* widget; const char* name; } heard[] = {
        {"TextTilesFileLocation", "Floors"}, {"btnBrowseObjectsFileLocation", "Select Objects directory"}, {"btnDefaultShadow", "Default Shadow Parameters"},
    };
    // clang-format on
    for (const auto& h : heard)
        EXPECT_EQ(
            QAccessible::queryAccessibleInterface(Find(dlg, h.widget))->text(QAccessible::Name),
            QString::fromLatin1(h.name));
    EXPECT_EQ(Edit("TextWallShadowTransparency")->accessibleDescription(),
              QStringLiteral("(0-255)"));
}

TEST_F(OptionsDialog, ApplyAcceptsOrRefusesEachShadowValue)
{
    const QString objAlpha =
        QStringLiteral("Object Shadow Transparency must be a value from 0-100!");
    const QString objDist = QStringLiteral("Object Shadow Distance must be valid number!");
    const QString wallAlpha =
        QStringLiteral("Wall Shadow Transparency must be a value from 0-255!");
    const QString wallDist = QStringLiteral("Wall Shadow Distance must be valid number!");
    // clang-format off
    const struct { int box; const char* text; QString refusal; double runtime; } cases[] = {
        {0, "0", {}, 0},             {0, "100", {}, 1},           {0, " 50 ", {}, 0.5},        {0, "100.5", objAlpha, 0.4},
        {0, "-1", objAlpha, 0.4},    {0, "", objAlpha, 0.4},      {1, "7.5", {}, 8},           {1, "32767", {}, 32767},
        {1, "-32768", {}, -32768},   {1, "32768", objDist, 5},    {1, "3px", objDist, 5},      {2, "255", {}, 255},
        {2, "256", wallAlpha, 32},   {3, "6.5", {}, 6},           {3, "-32769", wallDist, 7},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << ShadowBoxes[c.box] << " \"" << c.text << '"');
        SetUp();
        Set(ShadowBoxes[c.box], QLatin1String(c.text));
        const QStringList boxes = Press("cmdApply");
        const QString key = QLatin1String(ShadowBoxes[c.box]).mid(4);
        EXPECT_EQ(boxes, c.refusal.isEmpty() ? QStringList() : QStringList(c.refusal));
        EXPECT_EQ(Store().value(QStringLiteral("Settings/") + key),
                  c.refusal.isEmpty() ? QVariant(QLatin1String(c.text)) : QVariant());
        const double runtimes[] = {ObjectShadowAlpha, double(ObjectShadowOffset),
                                   double(WallShadowAlpha), double(WallShadowOffset)};
        EXPECT_FLOAT_EQ(runtimes[c.box], c.runtime);
        EXPECT_EQ(dlg.SettingsFailed(), !c.refusal.isEmpty());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(redraws, 1);
    }
}

TEST_F(OptionsDialog, OkWithTwoBadValuesStaysOpenAndSavesTheRest)
{
    Set("TextObjectShadowTransparency", QStringLiteral("101"));
    Set("TextObjectShadowDistance", QStringLiteral("6"));
    Set("TextWallShadowDistance", QStringLiteral("far"));
    Set("TextWallsFileLocation", QStringLiteral("/no/such/place"));
    EXPECT_EQ(Press("cmdOK"),
              QStringList({QStringLiteral("Object Shadow Transparency must be a value from 0-100!"),
                           QStringLiteral("Wall Shadow Distance must be valid number!")}));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(Stored(keys::ObjectShadowDistance), QStringLiteral("6"));
    EXPECT_EQ(Stored(keys::LocationWalls), QStringLiteral("/no/such/place"));
    EXPECT_EQ(Stored(keys::ObjectShadowTransparency), QStringLiteral("unset"));
    // Unchecking the splash box and fixing the values lets OK close.
    QTest::mouseClick(Find(dlg, "Check1"), Qt::LeftButton);
    Set("TextObjectShadowTransparency", QStringLiteral("100"));
    Set("TextWallShadowDistance", QStringLiteral("-2"));
    EXPECT_EQ(Press("cmdOK"), QStringList());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Stored(keys::ShowSplash), QStringLiteral("0"));
    EXPECT_EQ(redraws, 1);
}

// Enter and Return in every box press no button (nothing is saved, the dialog
// stays); every way of leaving without OK redraws once and keeps what Apply
// saved, not the defaults the Default button put in the boxes.
TEST_F(OptionsDialog, EnterStaysAndEveryOtherWayOutKeepsWhatApplySaved)
{
    Set("TextObjectShadowTransparency", QStringLiteral("60"));
    Click(dlg, "cmdApply");
    const auto enter = [&] {
        for (QLineEdit* edit : dlg.findChildren<QLineEdit*>()) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
        }
        QTest::keyClick(Find(dlg, "Check1"), Qt::Key_Return);
        QTest::qWait(50);
    };
    // clang-format off
    const struct { const char* how; std::function<void()> act; bool closes; } ways[] = {
        {"Enter", enter, false}, {"Cancel", [&] { Click(dlg, "cmdCancel"); }, true},
        {"Escape", [&] { QTest::keyClick(Edit("TextWallShadowDistance"), Qt::Key_Escape); }, true}, {"closing the window", [&] { dlg.close(); }, true},
    };
    // clang-format on
    for (const auto& w : ways) {
        SCOPED_TRACE(w.how);
        dlg.show(), redraws = 0;
        for (const char* box : ShadowBoxes)
            Set(box, QStringLiteral("1"));
        Click(dlg, "btnDefaultShadow");
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Edit(ShadowBoxes[i])->text(), QLatin1String(Defaults[i]));
        EXPECT_TRUE(AnswerBoxes(w.act, QMessageBox::Ok).empty());
        EXPECT_EQ(dlg.isVisible(), !w.closes);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(Stored(keys::ObjectShadowTransparency), QStringLiteral("60"));
        EXPECT_EQ(redraws, w.closes ? 1 : 0);
    }
}

TEST_F(OptionsDialog, RedrawFailureIsShownNotThrown)
{
    frmOptions failing;
    QObject::connect(&failing, &frmOptions::RedrawRequested,
                     [] { throw std::runtime_error("map gone"); });
    failing.show();
    // A failure of the map, not of a value: the stop sign.
    EXPECT_EQ(AnswerBoxes([&] { Click(failing, "cmdApply"); }, QMessageBox::Ok),
              (std::vector<testsupport::BoxRecord>{
                  {QStringLiteral("Error"), QStringLiteral("map gone"), QMessageBox::Critical}}));
    EXPECT_TRUE(failing.isVisible());
}

TEST_F(OptionsDialog, BrowseButtonsPutTheChosenFolderInTheirBox)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("picked")));
    const QString picked = root.path() + QStringLiteral("/picked");
    // A box that names no folder starts the chooser at the desktop, or at
    // home where there is none (as on this test machine).
    QString elsewhere = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QDir(elsewhere).exists())
        elsewhere = QDir::homePath();
    // clang-format off
    const struct { const char* button; const char* box; const char* title; bool choose; QString text, start; } cases[] = {
        {"btnBrowseFloorsWallsFileLocation", "TextTilesFileLocation", "Select Floors directory", true, root.path(), root.path()},
        {"btnBrowseObjectsFileLocation", "TextObjectsFileLocation", "Select Objects directory", false, root.path(), root.path()},
        {"btnBrowseWallsFileLocation", "TextWallsFileLocation", "Select Walls directory", true, QStringLiteral("/no/such/folder"), elsewhere},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* box = Edit(c.box);
        Type(box, c.text);
        QString title, start;
        const auto answer = [&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            if (!chooser || chooser->objectName() != QLatin1String("dlgBrowseFolder"))
                return;
            title = chooser->windowTitle();
            start = chooser->directory().absolutePath();
            EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
            if (c.choose)
                chooser->setDirectory(picked);
            c.choose ? static_cast<QDialog*>(chooser)->accept() : chooser->reject();
        };
        testsupport::DriveModals([&] { Click(dlg, c.button); }, answer);
        EXPECT_EQ(title, QLatin1String(c.title));
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(box->text(), c.choose ? picked : c.text);
    }
    EXPECT_FALSE(Store().contains("Settings/LocationFloors"));
}

// ctest runs these once more under LC_ALL=de_DE.UTF-8 and under C.UTF-8. The
// stored texts are the C notation in every locale; a number typed in the
// user's own format is stored converted, never as typed.
TEST_F(OptionsDialog, LocaleNumbersMeanTheSameInEveryLocale)
{
    const bool decimalComma = QLocale::system().decimalPoint() == QLatin1String(",");
    if (qgetenv("LC_ALL").startsWith("de_DE")) {
        // The C library's own reading follows the locale Qt set at start: the
        // old reader would have taken "5.6" as 5 here.
        ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "de_DE.UTF-8 is not installed";
        ASSERT_TRUE(decimalComma);
    }

    // Start-up and the dialog read the same values from the same store
    // whatever the locale ("0.6" is 1: the splash box is checked).
    const char* const stored[] = {"40.5", "5.6", "31.5e0", "-7.5"};
    for (int i = 0; i < 4; ++i)
        SaveSetting(QLatin1String(ShadowBoxes[i]).mid(4), QLatin1String(stored[i]));
    SaveSetting(QLatin1String(keys::ShowSplash), QStringLiteral("0.6"));
    LoadShadowSettings();
    EXPECT_FLOAT_EQ(ObjectShadowAlpha, 0.405f);
    EXPECT_EQ(ObjectShadowOffset, 6);
    EXPECT_EQ(WallShadowAlpha, 32);
    EXPECT_EQ(WallShadowOffset, -8);
    dlg.GetSettings();
    EXPECT_EQ(Edit("TextObjectShadowDistance")->text(), QStringLiteral("5.6"));
    EXPECT_TRUE(Find<QCheckBox>(dlg, "Check1")->isChecked());

    // "40,5" the German way: converted, or refused in C; no group separators; "1.000": one or
    // a thousand, refused where "." groups.
    // clang-format off
    const struct { const char* typed; const char* storedDe; const char* storedC; float alpha; } rows[] = {
        {"40.5", "40.5", "40.5", 0.405f}, {" 12,25 ", "12.25", nullptr, 0.1225f}, {"1.000,5", nullptr, nullptr, 0}, {"1.000", nullptr, "1.000", 0.01f},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        SetUp();
        Set("TextObjectShadowTransparency", QString::fromUtf8(r.typed));
        const QStringList boxes = Press("cmdApply");
        const char* text = decimalComma ? r.storedDe : r.storedC;
        EXPECT_EQ(boxes, text ? QStringList()
                              : QStringList(QStringLiteral(
                                    "Object Shadow Transparency must be a value from 0-100!")));
        EXPECT_EQ(Stored(keys::ObjectShadowTransparency), QLatin1String(text ? text : "unset"));
        // What the next start reads is what the user meant.
        LoadShadowSettings();
        EXPECT_FLOAT_EQ(ObjectShadowAlpha, text ? r.alpha : 0.4f);
    }
}
