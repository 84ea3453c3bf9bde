#include "SettingsStore.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
QSettings open(const QString &application)
{
    const QString app = application.isEmpty() ? SettingsApplicationName() : application;
    return QSettings(QSettings::IniFormat, QSettings::UserScope, app, app);
}

QString keyPath(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }
} // namespace

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    QSettings s = open(application);
    const QVariant v = s.value(keyPath(section, key));
    return v.isValid() ? v.toString() : defaultValue;
}

bool SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value)
{
    QSettings s = open(application);
    s.setValue(keyPath(section, key), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

void DeleteSetting(const QString &application, const QString &section, const QString &key)
{
    QSettings s = open(application);
    s.remove(keyPath(section, key));
}

QString SettingsApplicationName()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Orvane") : name;
}
