// Settings files as they turn up on real disks: garbage in every key,
// duplicated keys, no section, a store that is a folder, a folder that
// cannot be written. Start-up must succeed with limited values, the Options
// dialog must show them, and OK must never store what the next start could
// not read.
#include "HostileWindow.h"

#include "map/Numeric.h"
#include "settings/frmOptions.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace halvorn;

namespace {

const char* const ShadowKeys[] = {keys::ObjectShadowTransparency, keys::ObjectShadowDistance,
                                  keys::WallShadowTransparency, keys::WallShadowDistance};
const char* const ShadowFields[] = {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                                    "TextWallShadowTransparency", "TextWallShadowDistance"};

// Writes the store file byte for byte. Each write gets its own time stamp,
// so the settings layer cannot mistake it for the file it read before.
void WriteStore(const QByteArray& bytes)
{
    static int serial = 0;
    const QString path = SettingsLocation();
    QFile::remove(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)).addSecs(++serial),
                  QFileDevice::FileModificationTime);
}

QByteArray EveryKey(const QByteArray& value)
{
    QByteArray ini("[Settings]\n");
    for (const char* key :
         {keys::ShowSplash, keys::LocationFloors, keys::LocationObjects, keys::LocationWalls,
          keys::ObjectShadowTransparency, keys::ObjectShadowDistance, keys::WallShadowTransparency,
          keys::WallShadowDistance})
        ini += QByteArray(key) + '=' + value + '\n';
    return ini;
}

struct Started {
    float alpha;
    int offset, wallAlpha, wallOffset;
};

// A full start of the main window; the shadow values it read.
Started StartWindow()
{
    frmMain window;
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    // A palette over a garbage folder is simply empty.
    auto* library = window.findChild<TileLibraryPanel*>();
    QTest::mouseClick(library->Box(BrushKind::Floor), Qt::LeftButton);
    EXPECT_TRUE(library->IsOpen(BrushKind::Floor));
    window.hide();
    return {ObjectShadowAlpha, ObjectShadowOffset, WallShadowAlpha, WallShadowOffset};
}

// A stored shadow text the next start reads as the dialog meant it.
bool Readable(const QString& text, double high)
{
    if (!IsNumeric(text))
        return false;
    const double v = Val(text);
    return std::isfinite(v) && v >= (high > 0 ? 0.0 : -32768.0) && v <= (high > 0 ? high : 32767.0);
}

// Opens Options over the store, checks what it shows, presses OK and
// answers every box; returns the boxes' texts.
QStringList PressOk(frmOptions& dialog)
{
    return hostile::AnswerBoxes([&] {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
}

void ExpectNothingUnreadableStored(const QByteArray& garbage)
{
    const double highs[] = {100, 0, 255, 0};
    for (int i = 0; i < 4; ++i) {
        const QString stored =
            GetSetting(QLatin1String(ShadowKeys[i]), QStringLiteral("<missing>"));
        if (stored.toUtf8() == garbage)
            continue; // refused, so left as it was
        EXPECT_TRUE(Readable(stored, highs[i])) << ShadowKeys[i] << " = " << stored.toStdString();
    }
}

TEST(HostileSettings, GarbageInEveryKeyStartsLimitedShowsAndIsNotStoredBack)
{
    InitGdip();
    const struct {
        QByteArray value;
        float alpha;
        int offset, wallAlpha, wallOffset;
        const char* shown; // what each shadow box shows
    } rows[] = {
        {"1e308", 1.0f, 32767, 255, 32767, "1e+308"},
        {"-1e308", 0.0f, -32768, 0, -32768, "-1e+308"},
        {"99999", 1.0f, 32767, 255, 32767, "99999"},
        {"-12.5e1", 0.0f, -125, 0, -125, "-125"},
        {" 7.5 ", 0.075f, 8, 8, 8, "7.5"},
        {"NaN", 0.0f, 0, 0, 0, "0"},
        {"inf", 0.0f, 0, 0, 0, "0"},
        {"-inf", 0.0f, 0, 0, 0, "0"},
        {"0x7fff", 0.0f, 0, 0, 0, "0"},
        {"", 0.0f, 0, 0, 0, "0"},
        {QByteArray(100000, '9'), 0.0f, 0, 0, 0, "0"},
        {"\xff\xfe"
         "12",
         0.0f, 0, 0, 0, "0"},
        {"\x01\x02\x03\x7f"
         "5",
         0.0f, 0, 0, 0, "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value.left(20).toHex().toStdString());
        WriteStore(EveryKey(row.value));
        const Started s = StartWindow();
        EXPECT_FLOAT_EQ(s.alpha, row.alpha);
        EXPECT_EQ(s.offset, row.offset);
        EXPECT_EQ(s.wallAlpha, row.wallAlpha);
        EXPECT_EQ(s.wallOffset, row.wallOffset);

        frmOptions dialog;
        for (const char* field : ShadowFields)
            EXPECT_EQ(dialog.findChild<QLineEdit*>(QLatin1String(field))->text().toStdString(),
                      row.shown)
                << field;
        dialog.show();
        PressOk(dialog);
        ExpectNothingUnreadableStored(row.value);
        const QString splash = GetSetting(QLatin1String(keys::ShowSplash), QString());
        EXPECT_TRUE(splash == QLatin1String("0") || splash == QLatin1String("1"))
            << splash.toStdString();
        dialog.reject();
    }
}

TEST(HostileSettings, DuplicatedKeysAndMissingSectionStartWithOneValueOrTheDefaults)
{
    InitGdip();
    const struct {
        const char* name;
        QByteArray ini;
        float alpha;
        int offset, wallAlpha, wallOffset;
    } rows[] = {
        {"duplicated keys",
         "[Settings]\nObjectShadowDistance=3\nObjectShadowDistance=9\nWallShadowTransparency=10\n"
         "[Settings]\nWallShadowTransparency=20\n",
         0.4f, 9, 20, 7},
        {"no section", "ObjectShadowDistance=3\nWallShadowTransparency=10\n", 0.4f, 5, 32, 7},
        {"another section", "[Other]\nObjectShadowDistance=3\n", 0.4f, 5, 32, 7},
        {"half a line", "[Settings\nObjectShadowDistance", 0.4f, 5, 32, 7},
        {"binary", QByteArray("\x00\x01[Settings]\x00=\xff\n", 16), 0.4f, 5, 32, 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteStore(row.ini);
        const Started s = StartWindow();
        EXPECT_FLOAT_EQ(s.alpha, row.alpha);
        EXPECT_EQ(s.offset, row.offset);
        EXPECT_EQ(s.wallAlpha, row.wallAlpha);
        EXPECT_EQ(s.wallOffset, row.wallOffset);
    }
}

// The store cannot be written: a folder where the file should be, or a file
// where its folder should be. Start-up uses the defaults and OK says why
// nothing was kept.
TEST(HostileSettings, AStoreThatCannotBeWrittenStartsWithDefaultsAndOkSaysSo)
{
    InitGdip();
    const QString store = SettingsLocation();
    const QString folder = QFileInfo(store).absolutePath();
    const QString aside = folder + QStringLiteral(".aside");
    for (const bool folderIsFile : {false, true}) {
        SCOPED_TRACE(folderIsFile ? "settings folder is a file" : "settings file is a folder");
        QFile::remove(store);
        if (folderIsFile) {
            ASSERT_TRUE(QDir().rename(folder, aside));
            QFile blocker(folder);
            ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        } else {
            ASSERT_TRUE(QDir().mkpath(store));
        }
        const Started s = StartWindow();
        EXPECT_FLOAT_EQ(s.alpha, 0.4f);
        EXPECT_EQ(s.offset, 5);
        EXPECT_EQ(s.wallAlpha, 32);
        EXPECT_EQ(s.wallOffset, 7);

        frmOptions dialog;
        dialog.show();
        const QStringList boxes = PressOk(dialog);
        ASSERT_FALSE(boxes.isEmpty());
        EXPECT_TRUE(boxes.last().startsWith(
            QStringLiteral("Error|The settings could not be saved to ") + store))
            << boxes.last().toStdString();
        EXPECT_TRUE(dialog.isVisible()); // kept open, so the user can see nothing was kept
        dialog.reject();

        if (folderIsFile) {
            QFile::remove(folder);
            ASSERT_TRUE(QDir().rename(aside, folder));
        } else {
            ASSERT_TRUE(QDir(store).removeRecursively());
        }
    }
}

} // namespace
