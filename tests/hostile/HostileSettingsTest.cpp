// Settings files as they turn up on real disks: garbage in every key,
// duplicated keys, no section, a store that is a folder, a folder that
// cannot be written. Start-up must succeed with limited values, the Options
// dialog must show them, and OK must never store what the next start could
// not read.
#include "TestSupport.h"
#include "app/frmMain.h"
#include "imaging/Imaging.h"
#include "library/TileLibraryPanel.h"
#include "map/Numeric.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"
#include "settings/frmOptions.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

using namespace halvorn;

namespace {

struct Shadows {
    float alpha;
    int offset, wallAlpha, wallOffset;
};
const Shadows Defaults{0.4f, 5, 32, 7};

// Writes the store file byte for byte. Each write gets its own time stamp,
// so the settings layer cannot mistake it for the file it read before.
void WriteStore(const QByteArray& bytes)
{
    static int serial = 0;
    QDir().mkpath(QFileInfo(SettingsLocation()).absolutePath());
    QFile f(SettingsLocation());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, 0)).addSecs(++serial),
                  QFileDevice::FileModificationTime);
}

// A full start of the main window, whose palette over a garbage folder is
// simply empty; the shadow values it read must be `want`.
void ExpectStart(const Shadows& want)
{
    frmMain window;
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* library = window.findChild<TileLibraryPanel*>();
    QTest::mouseClick(library->Box(BrushKind::Floor), Qt::LeftButton);
    EXPECT_TRUE(library->IsOpen(BrushKind::Floor));
    window.hide();
    EXPECT_FLOAT_EQ(ObjectShadowAlpha, want.alpha);
    EXPECT_EQ(ObjectShadowOffset, want.offset);
    EXPECT_EQ(WallShadowAlpha, want.wallAlpha);
    EXPECT_EQ(WallShadowOffset, want.wallOffset);
}

// Presses OK in the dialog and answers every box; returns what they said.
std::vector<testsupport::BoxRecord> PressOk(frmOptions& dialog)
{
    dialog.show();
    return testsupport::AnswerBoxes(
        [&] {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
        },
        QMessageBox::Ok);
}

// Every key holding one hostile value (one per way the number reader takes
// it), or a file broken in its lines: start-up limits or defaults the values,
// the dialog shows them, and OK stores only what the next start can read.
TEST(HostileSettings, GarbageInEveryKeyStartsLimitedShowsAndIsNotStoredBack)
{
    InitGdip();
    const char* const shadowKeys[] = {keys::ObjectShadowTransparency, keys::ObjectShadowDistance,
                                      keys::WallShadowTransparency, keys::WallShadowDistance};
    const auto every = [&](const QByteArray& value) {
        QByteArray ini("[Settings]\n");
        for (const char* key :
             {keys::ShowSplash, keys::LocationFloors, keys::LocationObjects, keys::LocationWalls,
              shadowKeys[0], shadowKeys[1], shadowKeys[2], shadowKeys[3]})
            ini += QByteArray(key) + '=' + value + '\n';
        return ini;
    };
    // clang-format off
    const struct { QByteArray ini; Shadows started; const char* shown; } rows[] = {
        {every("1e308"), {1.0f, 32767, 255, 32767}, "1e+308"},
        {every("-1e308"), {0.0f, -32768, 0, -32768}, "-1e+308"},
        {every("-12.5e1"), {0.0f, -125, 0, -125}, "-125"},
        {every(" 7.5 "), {0.075f, 8, 8, 8}, "7.5"},
        {every("NaN"), {0.0f, 0, 0, 0}, "0"},
        {every("0x7fff"), {0.0f, 0, 0, 0}, "0"},
        {every(""), {0.0f, 0, 0, 0}, "0"},
        {every(QByteArray(100000, '9')), {0.0f, 0, 0, 0}, "0"},
        {every("\xff\xfe" "12"), {0.0f, 0, 0, 0}, "0"},
        // The last of duplicated keys wins; outside [Settings] nothing is read.
        {"[Settings]\nObjectShadowDistance=3\nObjectShadowDistance=9\nWallShadowTransparency=10\n[Settings]\nWallShadowTransparency=20\n", {0.4f, 9, 20, 7}, nullptr},
        {"ObjectShadowDistance=3\nWallShadowTransparency=10\n", Defaults, nullptr},
        {"[Other]\nObjectShadowDistance=3\n", Defaults, nullptr},
        {"[Settings\nObjectShadowDistance", Defaults, nullptr},
        {QByteArray("\x00\x01[Settings]\x00=\xff\n", 16), Defaults, nullptr},
    };
    // clang-format on
    const char* const fields[] = {"TextObjectShadowTransparency", "TextObjectShadowDistance",
                                  "TextWallShadowTransparency", "TextWallShadowDistance"};
    const double highs[] = {100, 0, 255, 0}; // 0: a distance, limited to 16 bits
    for (const auto& row : rows) {
        SCOPED_TRACE(row.ini.left(60).toHex().toStdString());
        WriteStore(row.ini);
        ExpectStart(row.started);

        frmOptions dialog;
        for (const char* field : fields)
            EXPECT_TRUE(!row.shown || dialog.findChild<QLineEdit*>(QLatin1String(field))->text() ==
                                          QLatin1String(row.shown))
                << field;
        QStringList before;
        for (const char* key : shadowKeys)
            before << GetSetting(QLatin1String(key), QString());
        PressOk(dialog);
        // Each shadow value is refused (left as it was) or stored as a text
        // the next start reads as the dialog meant it.
        for (int i = 0; i < 4; ++i) {
            const QString stored = GetSetting(QLatin1String(shadowKeys[i]), QString());
            if (stored == before[i])
                continue;
            const double v = Val(stored), high = highs[i] > 0 ? highs[i] : 32767.0;
            EXPECT_TRUE(IsNumeric(stored) && std::isfinite(v) &&
                        v >= (highs[i] > 0 ? 0.0 : -32768.0) && v <= high)
                << shadowKeys[i] << " = " << stored.toStdString();
        }
        const QString splash = GetSetting(QLatin1String(keys::ShowSplash), QString());
        EXPECT_TRUE(splash == QLatin1String("0") || splash == QLatin1String("1"))
            << splash.toStdString();
        dialog.reject();
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
        ExpectStart(Defaults);
        frmOptions dialog;
        const auto boxes = PressOk(dialog);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().title, QStringLiteral("Error"));
        EXPECT_TRUE(boxes.back().text.startsWith(
            QStringLiteral("The settings could not be saved to ") + store))
            << boxes.back().text.toStdString();
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
