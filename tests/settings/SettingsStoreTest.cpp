// The store and the number readings the main program starts from.
#include "settings/SettingsStore.h"
#include "QStringPrint.h"
#include "map/Numeric.h"
#include "settings/ShadowSettings.h"

#include <QSettings>
#include <gtest/gtest.h>

using namespace halvorn;

TEST(ShadowConversions, StoredTextsBecomeDrawingValues)
{
    const struct {
        const char* text;
        int distance;
        int wallAlpha;
    } cases[] = {
        {"7.5", 8, 8},     {"6.5", 6, 6}, {"12abc", 12, 12},     {"abc12", 0, 0},
        {"200", 200, 200}, {"-3", -3, 0}, {"40000", 32767, 255},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShadowDistanceFrom(QLatin1String(c.text)), c.distance) << c.text;
        EXPECT_EQ(WallShadowAlphaFrom(QLatin1String(c.text)), c.wallAlpha) << c.text;
    }
    EXPECT_FLOAT_EQ(ObjectShadowAlphaFrom(QStringLiteral("40")), 0.4f);
}

TEST(Numbers, ValAndIsNumericBoundaries)
{
    const struct {
        const char* text;
        double val;
        bool numeric;
    } cases[] = {
        {"40", 40, true},       {" 1 2 ", 12, false}, {"4e1", 40, true},
        {"-3.5x", -3.5, false}, {"", 0, false},       {"  7 ", 7, true},
        {"3px", 3, false},      {".5", 0.5, true},    {"e5", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(c.text)), c.val) << c.text;
        EXPECT_EQ(IsNumeric(QString::fromLatin1(c.text)), c.numeric) << c.text;
    }
}

TEST(SettingsStore, ReadsBackWhatItSavedAndFallsBackWhenMissing)
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(SettingsApplication))
        .remove("Settings");
    EXPECT_EQ(GetSetting(QLatin1String(keys::WallShadowDistance), QStringLiteral("7")),
              QStringLiteral("7"));
    SaveSetting(QLatin1String(keys::WallShadowDistance), QStringLiteral(" 9 "));
    EXPECT_EQ(GetSetting(QLatin1String(keys::WallShadowDistance), QStringLiteral("7")),
              QStringLiteral(" 9 "));
    const QSettings file(QSettings::NativeFormat, QSettings::UserScope,
                         QLatin1String(SettingsApplication));
    EXPECT_TRUE(file.fileName().endsWith(QStringLiteral("/config/Halvorn 3 Tallow Edition.conf")))
        << file.fileName().toStdString();
    EXPECT_EQ(file.value(QStringLiteral("Settings/WallShadowDistance")).toString(),
              QStringLiteral(" 9 "));
}
