#pragma once
// The mounted volumes of the machine in the shape the windows expect of
// "drives": one root folder per volume, a type, a label and a display text.
#include <QByteArray>
#include <QList>
#include <QString>

struct DriveInfo {
    // Numbered as the windows know drive types.
    enum Type : int {
        Unknown = 0,
        NoRootDir = 1,
        Removable = 2,
        Fixed = 3,
        Remote = 4,
        CdRom = 5,
        RamDisk = 6,
    };

    QString rootPath;   // the mount point, "/" for the root file system
    QString label;      // the volume label, "" when it has none
    QByteArray fileSystemType;
    QByteArray device;
    Type type = Unknown;

    // The label; for a volume without one, the device's name ("vda1" for
    // /dev/vda1), else the device as written ("server:/music"), else the file
    // system type; "" when none is known.
    QString name() const;
    // "Name (mount point)", or "(mount point)" when no name is known.
    QString text() const;

    // Every mounted volume whose root is a folder, the root file system first,
    // then by mount point.
    static QList<DriveInfo> mountedVolumes();
    // The volume that holds path (the one with the longest matching root).
    static DriveInfo volumeOf(const QString &path);

    // The type from the file system and device: iso9660/udf CD-ROM; network
    // file systems remote; tmpfs/ramfs RAM disk; a block device that the
    // kernel marks removable removable; otherwise fixed; a volume that cannot
    // be read unknown.
    static Type classify(const QByteArray &fileSystemType, bool removableDevice, bool readable);
    // Whether the kernel marks the block device behind device (such as
    // /dev/sdb1) as removable. sysBlockRoot is for tests.
    static bool isRemovableDevice(const QByteArray &device,
                                  const QString &sysBlockRoot = QStringLiteral("/sys/block"));
};
