#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "DriveInfo.h"

class TestDriveInfo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void classify_data()
    {
        QTest::addColumn<QByteArray>("fs");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("type");
        QTest::newRow("iso9660") << QByteArray("iso9660") << false << true << int(DriveInfo::CdRom);
        QTest::newRow("udf on a removable device") << QByteArray("udf") << true << true << int(DriveInfo::CdRom);
        QTest::newRow("nfs") << QByteArray("nfs") << false << true << int(DriveInfo::Remote);
        QTest::newRow("nfs4") << QByteArray("nfs4") << false << true << int(DriveInfo::Remote);
        QTest::newRow("cifs") << QByteArray("cifs") << false << true << int(DriveInfo::Remote);
        QTest::newRow("smb") << QByteArray("smb") << false << true << int(DriveInfo::Remote);
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << false << true << int(DriveInfo::Remote);
        QTest::newRow("tmpfs") << QByteArray("tmpfs") << false << true << int(DriveInfo::RamDisk);
        QTest::newRow("ramfs") << QByteArray("ramfs") << false << true << int(DriveInfo::RamDisk);
        QTest::newRow("usb stick") << QByteArray("vfat") << true << true << int(DriveInfo::Removable);
        QTest::newRow("disk") << QByteArray("ext4") << false << true << int(DriveInfo::Fixed);
        QTest::newRow("upper-case name") << QByteArray("ISO9660") << false << true << int(DriveInfo::CdRom);
        QTest::newRow("unreadable") << QByteArray("ext4") << false << false << int(DriveInfo::Unknown);
        QTest::newRow("unreadable cd") << QByteArray("iso9660") << true << false << int(DriveInfo::Unknown);
    }
    void classify()
    {
        QFETCH(QByteArray, fs);
        QFETCH(bool, removable);
        QFETCH(bool, readable);
        QFETCH(int, type);
        QCOMPARE(int(DriveInfo::classify(fs, removable, readable)), type);
    }

    void removableDevice_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<bool>("removable");
        QTest::newRow("removable disk") << QByteArray("/dev/sdb") << true;
        QTest::newRow("its partition") << QByteArray("/dev/sdb1") << true;
        QTest::newRow("fixed partition") << QByteArray("/dev/sda2") << false;
        QTest::newRow("sd card partition") << QByteArray("/dev/mmcblk0p1") << true;
        QTest::newRow("unknown device") << QByteArray("/dev/sdz9") << false;
        QTest::newRow("not a device") << QByteArray("overlay") << false;
        QTest::newRow("network source") << QByteArray("server:/export") << false;
    }
    void removableDevice()
    {
        QFETCH(QByteArray, device);
        QFETCH(bool, removable);
        // A small copy of the kernel's block-device folder.
        QTemporaryDir sys;
        auto disk = [&](const QString &name, const QByteArray &flag, const QStringList &parts) {
            QVERIFY(QDir(sys.path()).mkpath(name));
            QFile f(sys.filePath(name + "/removable"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(flag + "\n");
            for (const QString &p : parts)
                QVERIFY(QDir(sys.path()).mkpath(name + "/" + p));
        };
        disk("sda", "0", {"sda1", "sda2"});
        disk("sdb", "1", {"sdb1"});
        disk("mmcblk0", "1", {"mmcblk0p1"});
        QCOMPARE(DriveInfo::isRemovableDevice(device, sys.path()), removable);
    }

    void text_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("fileSystem");
        QTest::newRow("labelled") << "Data Disk" << "/mnt/data" << "Data Disk (/mnt/data)" << QByteArray("/dev/sdb1")
                                  << QByteArray("ext4");
        QTest::newRow("unlabelled root") << "" << "/" << "(/)" << QByteArray() << QByteArray();
        QTest::newRow("unlabelled, device node") << "" << "/" << "vda1 (/)" << QByteArray("/dev/vda1")
                                                 << QByteArray("ext4");
        QTest::newRow("mapped device") << "" << "/home" << "vg-home (/home)" << QByteArray("/dev/mapper/vg-home")
                                       << QByteArray("xfs");
        QTest::newRow("network source") << "" << "/mnt/music" << "nas:/music (/mnt/music)"
                                        << QByteArray("nas:/music") << QByteArray("nfs4");
        QTest::newRow("file system only") << "" << "/run" << "tmpfs (/run)" << QByteArray() << QByteArray("tmpfs");
    }
    void text()
    {
        QFETCH(QString, label);
        QFETCH(QString, root);
        QFETCH(QString, text);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, fileSystem);
        DriveInfo d;
        d.label = label;
        d.rootPath = root;
        d.device = device;
        d.fileSystemType = fileSystem;
        QCOMPARE(d.text(), text);
    }

    void mountedVolumesOfThisMachine()
    {
        const QList<DriveInfo> drives = DriveInfo::mountedVolumes();
        QVERIFY(!drives.isEmpty());
        QCOMPARE(drives.first().rootPath, QStringLiteral("/"));
        QVERIFY(drives.first().type != DriveInfo::NoRootDir);
        for (const DriveInfo &d : drives) {
            QVERIFY2(QFileInfo(d.rootPath).isDir(), qPrintable(d.rootPath));
            QVERIFY(d.text().endsWith("(" + d.rootPath + ")"));
            // Every mounted volume has a device or a file system to be named by.
            QVERIFY2(!d.text().startsWith("("), qPrintable(d.text()));
            if (d.fileSystemType == "tmpfs" && d.type != DriveInfo::Unknown)
                QCOMPARE(int(d.type), int(DriveInfo::RamDisk));
        }
    }

    void volumeOfAPath()
    {
        QTemporaryDir tmp;
        const DriveInfo d = DriveInfo::volumeOf(tmp.path());
        QVERIFY(!d.rootPath.isEmpty());
        const QString canonical = QFileInfo(tmp.path()).canonicalFilePath();
        QVERIFY(d.rootPath == "/" || canonical.startsWith(d.rootPath + "/"));
        // No other volume holds it more closely.
        for (const DriveInfo &other : DriveInfo::mountedVolumes())
            if (canonical.startsWith(other.rootPath + "/"))
                QVERIFY(other.rootPath.size() <= d.rootPath.size());
    }
};

QTEST_GUILESS_MAIN(TestDriveInfo)
#include "tst_driveinfo.moc"
