#include "SettingsStore.h"

#include "SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <functional>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
QSettings open(const QString &application)
{
    const QString app = application.isEmpty() ? SettingsApplicationName() : application;
    return QSettings(QSettings::IniFormat, QSettings::UserScope, app, app);
}

QString keyPath(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

QVariantMap contents(const QSettings &settings)
{
    QVariantMap map;
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys)
        map.insert(key, settings.value(key));
    return map;
}

// The settings file's new contents, as QSettings writes them after edit.
// QSettings cannot be trusted with the file itself: on a full disk its write
// fails unreported and an empty or cut file replaces the old one. So it
// writes a scratch copy in a work folder beside the file, which is then read
// back under a name QSettings has never seen (it caches every file by name
// and would answer from memory); anything short of the expected keys and
// values is a failed write. QSettings puts a lock file and a file of its own
// beside the copy; the work folder goes with all of them, also when a save
// was killed. Nothing when the contents could not be made.
std::optional<QByteArray> edited(const QString &path, const QByteArray &old,
                                 const std::function<void(QSettings &)> &edit)
{
    const SafeWrite::WorkFolder work(path);
    if (work.path().isEmpty())
        return std::nullopt;
    const QString scratchName = work.path() + QStringLiteral("/edit.ini");
    const QString checkName = work.path() + QStringLiteral("/check.ini");
    QFile scratch(scratchName);
    if (!scratch.open(QIODevice::WriteOnly | QIODevice::NewOnly) || scratch.write(old) != old.size()
        || !scratch.flush())
        return std::nullopt;
    scratch.close();

    QVariantMap expected;
    {
        QSettings settings(scratchName, QSettings::IniFormat);
        edit(settings);
        expected = contents(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return std::nullopt;
    }
    if (::rename(QFile::encodeName(scratchName).constData(), QFile::encodeName(checkName).constData()) != 0)
        return std::nullopt;
    if (contents(QSettings(checkName, QSettings::IniFormat)) != expected)
        return std::nullopt;
    QFile written(checkName);
    if (!written.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = written.readAll();
    if (written.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

qint64 mtimeMs(const struct stat &st) { return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000; }

// QSettings takes a file it has cached as unchanged while its size and its
// time of change, to the millisecond, stay the same. A save within the same
// millisecond as the one before, of the same length, would go unseen: the
// new file is dated at least a millisecond later.
void markChanged(const QString &path, const struct stat &before)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat now {};
    if (::stat(name.constData(), &now) != 0 || mtimeMs(now) > mtimeMs(before))
        return;
    const qint64 ms = mtimeMs(before) + 1;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
    ::utimensat(AT_FDCWD, name.constData(), times, 0);
}

// Makes one change to the application's settings file such that a failure
// leaves the file byte for byte as it was.
bool change(const QString &application, const std::function<void(QSettings &)> &edit)
{
    const QString path = open(application).fileName();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QByteArray old;
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(path).constData(), &before) == 0;
    if (existed) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        old = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
    }
    const std::optional<QByteArray> bytes = edited(path, old, edit);
    if (!bytes || SafeWrite::writeFile(path, *bytes))
        return false;
    if (existed)
        markChanged(path, before);
    return true;
}
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
    return change(application, [&](QSettings &s) { s.setValue(keyPath(section, key), value); });
}

void DeleteSetting(const QString &application, const QString &section, const QString &key)
{
    change(application, [&](QSettings &s) { s.remove(keyPath(section, key)); });
}

QString SettingsApplicationName()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Orvane") : name;
}
