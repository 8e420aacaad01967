// The store and the number readings the main program starts from.
#include "settings/SettingsStore.h"
#include "QStringPrint.h"
#include "TestSupport.h"
#include "settings/ShadowSettings.h"

#include <gtest/gtest.h>

using namespace halvorn;

// The readings of Val and IsNumeric are in tests/map/NumericTest.cpp; the
// limits of the shadow values in tests/hostile/HostileSettingsTest.cpp and
// the rounding in tests/settings/frmOptionsTest.cpp.
TEST(SettingsStore, HandEditedValuesReadAsTheTextTheFileHolds)
{
    static int warnings = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            warnings += type == QtWarningMsg;
        });
    // clang-format off
    const struct { const char* line; const char* key; const char* text; } rows[] = {
        {"LocationFloors=/data/art,x/Floors", keys::LocationFloors, "/data/art,x/Floors"},
        {"WallShadowTransparency=100,5", keys::WallShadowTransparency, "100,5"},
        {"ObjectShadowDistance=@Variant(\\0\\0\\0\\x7f)", keys::ObjectShadowDistance, "@Variant(\\0\\0\\0\\x7f)"},
        {"LocationObjects=  \"a, b\"  ", keys::LocationObjects, "a, b"},
        {"ShowSplash=@@1", keys::ShowSplash, "@1"},
    };
    // clang-format on
    QByteArray ini("[Settings]\n");
    for (const auto& r : rows)
        ini += QByteArray(r.line) + '\n';
    // In the file a user finds by the program's name.
    ASSERT_TRUE(
        SettingsLocation().endsWith(QStringLiteral("/config/Halvorn 3 Tallow Edition.conf")))
        << SettingsLocation().toStdString();
    ASSERT_TRUE(testsupport::WriteBytes(SettingsLocation(), ini));
    for (const auto& r : rows)
        EXPECT_EQ(GetSetting(QLatin1String(r.key), QStringLiteral("<missing>")),
                  QString::fromUtf8(r.text))
            << r.line;
    // The number reader sees what the user wrote: 100, not the 0 of a list.
    EXPECT_EQ(WallShadowAlphaFrom(GetSetting(QLatin1String(keys::WallShadowTransparency), {})),
              100);
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, 0);
    // What the store writes, quoted and escaped its own way, reads back as saved
    // (blanks, separators and "@Variant": the settings fuzzer's seeds).
    for (const QString& saved :
         {QStringLiteral("q\"u\\o"),
          QStringLiteral("tab\tx\n1\x01"
                         "2"),
          QStringLiteral("\u00fc\u20ac/Fl\u00f6re"), QStringLiteral("\u00a04\u00a0")}) {
        SaveSetting(QLatin1String(keys::LocationWalls), saved);
        EXPECT_EQ(GetSetting(QLatin1String(keys::LocationWalls), {}), saved);
    }
    // A text with a NUL in it, which QSettings writes as "@String(...)".
    for (const char* encoded : {"3553%00%00%01%00%02%0E%00.%0D%00%01%00%004.5", "@a%00b%0D"}) {
        const QString saved = QString::fromLatin1(QByteArray::fromPercentEncoding(encoded));
        SaveSetting(QLatin1String(keys::LocationWalls), saved);
        EXPECT_EQ(GetSetting(QLatin1String(keys::LocationWalls), {}), saved);
    }
}
