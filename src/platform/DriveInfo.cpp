#include "DriveInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

QString DriveInfo::name() const
{
    if (!label.isEmpty())
        return label;
    // Most volumes carry no label; the device's own name ("vda1") or, for a
    // volume with no device node, its source or file system ("tmpfs") is what
    // a user knows it by.
    if (device.startsWith("/dev/"))
        return QFile::decodeName(device.mid(device.lastIndexOf('/') + 1));
    if (!device.isEmpty())
        return QFile::decodeName(device);
    return QString::fromLatin1(fileSystemType);
}

QString DriveInfo::text() const
{
    const QString root = QLatin1Char('(') + rootPath + QLatin1Char(')');
    const QString shown = name();
    return shown.isEmpty() ? root : shown + QLatin1Char(' ') + root;
}

DriveInfo::Type DriveInfo::classify(const QByteArray &fs, bool removableDevice, bool readable)
{
    if (!readable)
        return Unknown;
    const QByteArray t = fs.toLower();
    if (t == "iso9660" || t == "udf")
        return CdRom;
    if (t == "nfs" || t == "nfs4" || t == "cifs" || t == "smb" || t == "smb3" || t == "smbfs"
        || t == "fuse.sshfs")
        return Remote;
    if (t == "tmpfs" || t == "ramfs")
        return RamDisk;
    if (removableDevice)
        return Removable;
    return Fixed;
}

bool DriveInfo::isRemovableDevice(const QByteArray &device, const QString &sysBlockRoot)
{
    if (!device.startsWith("/dev/"))
        return false;
    // Follow /dev/disk/by-* and mapper links to the kernel's name.
    QString name = QFileInfo(QFile::decodeName(device)).canonicalFilePath();
    if (name.isEmpty())
        name = QFile::decodeName(device);
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty())
        return false;

    auto removableFlag = [&](const QString &disk) {
        QFile f(sysBlockRoot + QLatin1Char('/') + disk + QLatin1String("/removable"));
        return f.open(QIODevice::ReadOnly) && f.readAll().trimmed() == "1";
    };
    if (QFileInfo::exists(sysBlockRoot + QLatin1Char('/') + name))
        return removableFlag(name);
    // A partition (sdb1, mmcblk0p1, nvme0n1p2) sits below its disk.
    const QStringList disks = QDir(sysBlockRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &disk : disks)
        if (name.startsWith(disk) && QFileInfo::exists(sysBlockRoot + QLatin1Char('/') + disk + QLatin1Char('/') + name))
            return removableFlag(disk);
    return false;
}

QList<DriveInfo> DriveInfo::mountedVolumes()
{
    QList<DriveInfo> drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!QFileInfo(volume.rootPath()).isDir())
            continue; // a file bind-mounted over another, not a volume
        DriveInfo d;
        d.rootPath = volume.rootPath();
        d.label = volume.name();
        d.fileSystemType = volume.fileSystemType();
        d.device = volume.device();
        const bool readable = volume.isValid() && volume.isReady() && QFileInfo(d.rootPath).isReadable();
        d.type = classify(d.fileSystemType, isRemovableDevice(d.device), readable);
        drives.append(d);
    }
    std::sort(drives.begin(), drives.end(), [](const DriveInfo &a, const DriveInfo &b) {
        if ((a.rootPath == u"/") != (b.rootPath == u"/"))
            return a.rootPath == u"/";
        return a.rootPath < b.rootPath;
    });
    return drives;
}

DriveInfo DriveInfo::volumeOf(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString target = canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
    DriveInfo best;
    for (const DriveInfo &d : mountedVolumes()) {
        const bool inside = d.rootPath == u"/" || target == d.rootPath
                            || target.startsWith(d.rootPath + QLatin1Char('/'));
        if (inside && d.rootPath.size() > best.rootPath.size())
            best = d;
    }
    return best;
}
