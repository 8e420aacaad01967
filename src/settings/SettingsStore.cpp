#include "settings/SettingsStore.h"

#include "settings/IniText.h"

#include <QFile>
#include <QSettings>

namespace halvorn {

namespace {

QString FullKey(const QString& key)
{
    return QLatin1String(SettingsSection) + QLatin1Char('/') + key;
}

} // namespace

QString GetSetting(const QString& key, const QString& fallback)
{
    // Read as text from the file itself: QSettings would take a comma for a
    // list and "@Variant(" for a serialised value, not what the user wrote.
    QFile file(SettingsLocation());
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    return IniValueText(file.readAll(), QString::fromLatin1(SettingsSection), key)
        .value_or(fallback);
}

bool SaveSetting(const QString& key, const QString& value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QLatin1String(SettingsApplication));
    store.setValue(FullKey(key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

QString SettingsLocation()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QLatin1String(SettingsApplication))
        .fileName();
}

} // namespace halvorn
