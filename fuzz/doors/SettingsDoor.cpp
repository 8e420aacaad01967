#include "Doors.h"

#include "map/Numeric.h"
#include "settings/SettingsStore.h"
#include "settings/ShadowSettings.h"
#include "settings/ShadowTexts.h"

#include <QFile>
#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace halvorn::doors {

namespace {

QString Show(const QString& text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(" "));
}

// The store as the next start of the program finds it: a fresh reading of
// the file that the saves left behind. Each reading gets a name of its own,
// since the store keeps what it parsed by file name and time.
std::unique_ptr<QSettings> NextStart(QString* copyName)
{
    static int readings = 0;
    *copyName = ScratchFolder() + QStringLiteral("/next-start-%1.conf").arg(++readings);
    QFile::remove(*copyName);
    if (!QFile::copy(SettingsLocation(), *copyName))
        return nullptr;
    return std::make_unique<QSettings>(*copyName, QSettings::IniFormat);
}

} // namespace

QStringList SettingsDoor(QByteArrayView bytes)
{
    QStringList broken;
    const QString text = QString::fromUtf8(bytes);
    const auto fail = [&](const QString& what) {
        broken << what + QStringLiteral(": ") + Show(text);
    };

    const double value = Val(text);
    if (!std::isfinite(value))
        fail(QStringLiteral("Val is not finite"));

    // A text that is a number as a whole starts with that number.
    const bool numeric = IsNumeric(text);
    bool cOk = false;
    const double cValue = QLocale::c().toDouble(text.trimmed(), &cOk);
    if (numeric && cOk && std::isfinite(cValue) && cValue != value)
        fail(QStringLiteral("numeric as %1 but read from its start as %2")
                 .arg(cValue, 0, 'g', 17)
                 .arg(value, 0, 'g', 17));

    // Rounding to 16 bits limits instead of wrapping.
    const double nearest = std::nearbyint(value);
    const int16_t r16 = RoundToInt16(value);
    const double limited = std::clamp(nearest, -32768.0, 32767.0);
    if (r16 != limited)
        fail(QStringLiteral("RoundToInt16 gave %1").arg(r16));
    if (ShadowDistanceFrom(text) != r16)
        fail(QStringLiteral("distance differs from RoundToInt16"));

    // The values start-up derives from a stored text stay in range.
    const float alpha = ObjectShadowAlphaFrom(text);
    if (!(alpha >= 0.0f && alpha <= 1.0f))
        fail(QStringLiteral("object alpha %1 out of 0..1").arg(alpha));
    const int16_t wallAlpha = WallShadowAlphaFrom(text);
    if (wallAlpha < 0 || wallAlpha > 255)
        fail(QStringLiteral("wall alpha %1 out of 0..255").arg(wallAlpha));

    // What the dialog accepts it stores as a text that reads back as the
    // same value, and uses unlimited: accepted means in range.
    const ShadowText objectAlphaText = NumberInRange(text, 100.0);
    const ShadowText wallAlphaText = NumberInRange(text, 255.0);
    const ShadowText distanceText = UsableDistance(text);
    for (const ShadowText& stored : {objectAlphaText, wallAlphaText, distanceText}) {
        if (stored && (!numeric || StorableNumber(*stored) != stored))
            fail(
                QStringLiteral("accepted as %1, which is not stored as itself").arg(Show(*stored)));
    }
    if (objectAlphaText) {
        const double v = Val(*objectAlphaText);
        if (!(v >= 0.0 && v <= 100.0) ||
            ObjectShadowAlphaFrom(*objectAlphaText) != static_cast<float>(v / 100.0))
            fail(QStringLiteral("accepted object alpha limited"));
    }
    if (wallAlphaText) {
        const double v = Val(*wallAlphaText);
        if (!(v >= 0.0 && v <= 255.0) || WallShadowAlphaFrom(*wallAlphaText) != std::nearbyint(v))
            fail(QStringLiteral("accepted wall alpha limited"));
    }
    if (distanceText && ShadowDistanceFrom(*distanceText) != std::nearbyint(Val(*distanceText)))
        fail(QStringLiteral("accepted distance limited"));

    // The dialog shows a stored value in its shortest form; that text must
    // mean the same and pass the same checks.
    const QString shown = NumberText(value);
    if (Val(shown) != value || !IsNumeric(shown))
        fail(QStringLiteral("shown as %1, which reads back differently").arg(shown));
    if ((objectAlphaText && !NumberInRange(shown, 100.0)) ||
        (wallAlphaText && !NumberInRange(shown, 255.0)) || (distanceText && !UsableDistance(shown)))
        fail(QStringLiteral("shown as %1, which the dialog refuses").arg(shown));

    // Stored as the dialog stores it; the next start must read the same text.
    const QString folderKey = QLatin1String(keys::LocationFloors);
    const QString shadowKey = QLatin1String(keys::ObjectShadowDistance);
    if (!SaveSetting(folderKey, text))
        return broken << QStringLiteral("the store refused a folder text");
    if (distanceText && !SaveSetting(shadowKey, *distanceText))
        return broken << QStringLiteral("the store refused a distance");
    if (GetSetting(folderKey, QString()) != text)
        fail(QStringLiteral("folder text changed in the running store"));
    QString copyName;
    const std::unique_ptr<QSettings> next = NextStart(&copyName);
    if (!next)
        return broken << QStringLiteral("settings file not copied");
    const QString section = QLatin1String(SettingsSection) + QLatin1Char('/');
    const QString folderBack = next->value(section + folderKey).toString();
    if (folderBack != text)
        fail(QStringLiteral("folder text read back at the next start as %1").arg(Show(folderBack)));
    if (distanceText) {
        const QString distanceBack = next->value(section + shadowKey).toString();
        if (distanceBack != *distanceText ||
            ShadowDistanceFrom(distanceBack) != ShadowDistanceFrom(*distanceText))
            fail(QStringLiteral("distance read back at the next start as %1")
                     .arg(Show(distanceBack)));
    }
    QFile::remove(copyName);
    return broken;
}

} // namespace halvorn::doors
