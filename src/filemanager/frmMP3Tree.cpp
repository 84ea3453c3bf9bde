// The drive tree: one root per volume, the first level of folders below each
// one that is not removable, and the folder listing that new-folder creation
// uses again.
#include "frmMP3.h"

#include "FileManagerImages.h"
#include "MP3ListView.h"
#include "MsgBox.h"
#include "clsMousePointer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cerrno>
#include <cstring>
#include <dirent.h>

namespace {
frmMP3::DriveSource &driveSource()
{
    static frmMP3::DriveSource source;
    return source;
}

// The label of a volume, or nothing when the volume cannot be read (a stale
// network mount, a drive that is not ready).
std::optional<QString> volumeLabel(const DriveInfo &drive)
{
    const QFileInfo root(drive.rootPath);
    if (!root.isDir() || !root.isReadable())
        return std::nullopt;
    return drive.label;
}

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// Why a folder cannot be listed, in the system's words; "" when it can.
QString unreadableReason(const QString &folder)
{
    DIR *d = ::opendir(QFile::encodeName(folder).constData());
    if (!d)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(d);
    return QString();
}
} // namespace

void frmMP3::setDriveSource(DriveSource source) { driveSource() = std::move(source); }

QString frmMP3::DriveKey(const DriveInfo &drive) { return QStringLiteral("root") + drive.rootPath; }

QString frmMP3::ProperCase(const QString &text)
{
    QString out = text;
    bool wordStart = true;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == 0 || (u >= 10 && u <= 13)) {
            wordStart = true;
            continue;
        }
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return out;
}

QTreeWidgetItem *frmMP3::addNode(QTreeWidgetItem *parent, const QString &text, const QString &imageKey)
{
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(DirTree);
    node->setText(0, text);
    node->setData(0, ImageRole, imageKey);
    node->setIcon(0, FileManagerImages::image(imageKey));
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    CurrentNode = node;
    return node;
}

QTreeWidgetItem *frmMP3::NodeByKey(const QString &key) const
{
    for (int i = 0; i < DirTree->topLevelItemCount(); ++i)
        if (DirTree->topLevelItem(i)->data(0, KeyRole).toString() == key)
            return DirTree->topLevelItem(i);
    return nullptr;
}

void frmMP3::LoadDrives()
{
    const QList<DriveInfo> drives = driveSource() ? driveSource()() : DriveInfo::mountedVolumes();
    for (const DriveInfo &drive : drives) {
        switch (drive.type) {
        case DriveInfo::Unknown:
        case DriveInfo::Fixed:
        case DriveInfo::Remote:
        case DriveInfo::CdRom:
        case DriveInfo::RamDisk: {
            static const QString images[] = {QStringLiteral("unknown"), QString(), QString(), QStringLiteral("fixed"),
                                             QStringLiteral("remote"), QStringLiteral("cd"), QStringLiteral("ram")};
            const std::optional<QString> label = volumeLabel(drive);
            if (!label)
                break; // an unreadable volume gets no node
            DriveInfo shown = drive;
            shown.label = ProperCase(*label);
            QTreeWidgetItem *node = addNode(nullptr, shown.text(), images[drive.type]);
            node->setData(0, KeyRole, DriveKey(drive));
            node->setData(0, PathRole, drive.rootPath);
            // A volume's name is not ours to change.
            node->setFlags(node->flags() & ~Qt::ItemIsEditable);
            if (QTreeWidgetItem *found = NodeByKey(DriveKey(drive)))
                DisplayDir(drive.rootPath, found);
            break;
        }
        case DriveInfo::Removable: {
            // Never touched at load: neither its label nor its folders.
            DriveInfo shown = drive;
            shown.label.clear();
            QTreeWidgetItem *node = addNode(nullptr, shown.text(), QStringLiteral("remove"));
            node->setData(0, KeyRole, DriveKey(drive));
            node->setData(0, PathRole, drive.rootPath);
            node->setFlags(node->flags() & ~Qt::ItemIsEditable);
            break;
        }
        default:
            break;
        }
    }
}

void frmMP3::DisplayDir(const QString &Pth, QTreeWidgetItem *Parent)
{
    // Folders only, hidden ones left out; "." and ".." are no folders of their own.
    const QFileInfoList entries =
        QDir(Pth).entryInfoList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        if (!entry.isDir())
            continue;
        auto *row = new QListWidgetItem(ProperCase(entry.fileName()));
        row->setData(Qt::UserRole, entry.fileName());
        List1->addItem(row);
    }
    for (int i = 0; i < List1->count(); ++i) {
        QTreeWidgetItem *node = addNode(Parent, List1->item(i)->text(), QStringLiteral("folder"));
        node->setData(0, PathRole, joinPath(Pth, List1->item(i)->data(Qt::UserRole).toString()));
        node->setData(0, OpenImageRole, QStringLiteral("open"));
    }
    List1->clear();
}

void frmMP3::DirTree_KeyDown(int KeyCode, int Shift)
{
    clsMousePointer guard;
    if (Status e = guard.SetCursor(11)) {
        MsgBox(e->description, MsgBoxStyle::Critical);
        Unload();
        return;
    }
    if (KeyCode != 116)
        return;
    ReloadTree();
}

void frmMP3::mnuRefresh_Click()
{
    clsMousePointer guard;
    if (Status e = guard.SetCursor(11)) {
        MsgBox(e->description, MsgBoxStyle::Critical);
        Unload();
        return;
    }
    ReloadTree();
    HoverNodeIndex = 0;
}

// The tree read afresh from the drives, the list emptied: nothing of the old
// tree is left pointed at.
void frmMP3::ReloadTree()
{
    DirTree->clear();
    CurrentNode = nullptr;
    DropHighlight = nullptr;
    lstMP3->Clear();
    LoadDrives();
}

std::optional<QString> frmMP3::NodeFolder(QTreeWidgetItem *node, Error *why) const
{
    auto fail = [why](Error e) -> std::optional<QString> {
        if (why)
            *why = std::move(e);
        return std::nullopt;
    };
    if (!node)
        return fail({91, QStringLiteral("No folder is selected.")});
    const QString path = node->data(0, PathRole).toString();
    if (path.isEmpty())
        return fail({ErrorNumber::PathNotFound, QStringLiteral("Path not found")});
    return path;
}

int frmMP3::NodeIndex(QTreeWidgetItem *node) const
{
    if (!node)
        return 0;
    int i = 1;
    for (QTreeWidgetItemIterator it(DirTree); *it; ++it, ++i)
        if (*it == node)
            return i;
    return 0;
}

QTreeWidgetItem *frmMP3::NodeAt(int index) const
{
    if (index < 1)
        return nullptr;
    int i = 1;
    for (QTreeWidgetItemIterator it(DirTree); *it; ++it, ++i)
        if (i == index)
            return *it;
    return nullptr;
}

int frmMP3::NodeCount() const
{
    int n = 0;
    for (QTreeWidgetItemIterator it(DirTree); *it; ++it)
        ++n;
    return n;
}

void frmMP3::DirTree_NodeClick(QTreeWidgetItem *Node)
{
    if (const std::optional<QString> folder = NodeFolder(Node))
        ListMP3Files(*folder);
    else
        lstMP3->Clear();
}

void frmMP3::ListMP3Files(const QString &folder)
{
    clsMousePointer guard;
    guard.SetCursor(11);
    lstMP3->Clear();
    // An empty list over a folder that cannot be read must not read as a
    // folder without MP3s, nor ask for a folder to be clicked.
    const QString why = unreadableReason(folder);
    if (!why.isEmpty()) {
        lstMP3->setEmptyText(QStringLiteral("\n  This folder cannot be read: \n  %1.").arg(why));
        return;
    }
    lstMP3->setEmptyText(HintText());
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.mp3")}); // any letter case
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    QList<QStringList> rows;
    QList<QDateTime> modified;
    rows.reserve(files.size());
    modified.reserve(files.size());
    const QLocale locale;
    for (const QFileInfo &f : files) {
        rows.append({f.fileName(), QString::number(f.size()) + QStringLiteral(" B"),
                     locale.toString(f.lastModified(), QLocale::ShortFormat), f.absoluteFilePath()});
        modified.append(f.lastModified());
    }
    lstMP3->AddMany(rows, modified);
}
