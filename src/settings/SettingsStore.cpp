#include "settings/SettingsStore.h"

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
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                          QLatin1String(SettingsApplication));
    const QVariant value = store.value(FullKey(key));
    return value.isValid() ? value.toString() : fallback;
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
