#pragma once
// Per-user program settings: text values addressed by application, section
// and key, kept in an INI file of the user's configuration folder
// (~/.config/<application>/<application>.ini). A key never written reads as
// "" (or the given default). Tests point QSettings' IniFormat user path at a
// temporary folder with QSettings::setPath.
#include <QString>

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
// Returns false when the store could not be written (read-only folder, full
// disk); the file is then left byte for byte as it was. Other keys and
// sections of the file are kept.
bool SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value);
void DeleteSetting(const QString &application, const QString &section, const QString &key);

// The application name the windows store their settings under: the program's
// name (QCoreApplication::applicationName, "Orvane" for the player).
QString SettingsApplicationName();
