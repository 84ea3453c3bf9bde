// The folder side of the tree beyond the listing: its menu, new folders,
// renaming a folder in place, and the feedback while something is dragged
// over it. Nothing on disk is moved, copied or deleted here.
#include "frmMP3.h"

#include "FileRename.h"
#include "MP3ListView.h"
#include "MsgBox.h"
#include "NameEditDelegate.h"

#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

namespace {
QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool isWithin(QTreeWidgetItem *node, QTreeWidgetItem *ancestor)
{
    for (QTreeWidgetItem *n = node ? node->parent() : nullptr; n; n = n->parent())
        if (n == ancestor)
            return true;
    return false;
}

QTreeWidgetItem *selectedNode(QTreeWidget *tree)
{
    QTreeWidgetItem *current = tree->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
} // namespace

// A node's edit starts from the folder's real name, not the proper-cased text.
QAbstractItemDelegate *frmMP3::makeLabelEditDelegate(frmMP3 *window)
{
    auto handler = [window](const QModelIndex &index, bool &cancel, QString &name) {
        window->RenamingNode = window->DirTree->itemFromIndex(index);
        window->DirTree_AfterLabelEdit(cancel, name);
        window->RenamingNode = nullptr;
    };
    auto realName = [](const QModelIndex &index) {
        const QString path = index.data(frmMP3::PathRole).toString();
        return index.parent().isValid() && !path.isEmpty() ? QFileInfo(path).fileName() : QString();
    };
    return new NameEditDelegate(window, handler, realName);
}

void frmMP3::DirTree_MouseDown(int Button, int Shift, int X, int Y)
{
    if (Button == 2 && DirTree->topLevelItemCount() > 0) {
        // Folders can be renamed, volumes cannot.
        QTreeWidgetItem *node = selectedNode(DirTree);
        mnuRenameFolder->setEnabled(node && (node->flags() & Qt::ItemIsEditable));
        mnuPopupMenu2->popup(QCursor::pos());
    }
}

void frmMP3::mnuRenameFolder_Click()
{
    QTreeWidgetItem *node = selectedNode(DirTree);
    if (node && (node->flags() & Qt::ItemIsEditable))
        DirTree->editItem(node, 0);
}

void frmMP3::mnuAddFolder_Click()
{
    if (Status e = AddDir())
        MsgBox(e->description, MsgBoxStyle::Critical);
}

Status frmMP3::AddDir()
{
    QTreeWidgetItem *node = selectedNode(DirTree);
    Error why;
    const std::optional<QString> folder = NodeFolder(node, &why);
    if (!folder)
        return why;
    const QFileInfo where(*folder);
    if (!where.isDir())
        return Error{ErrorNumber::PathNotFound, QStringLiteral("Path not found")};

    // Any entry counts as taken, an ordinary file or a dangling link too.
    auto taken = [&](const QString &name) {
        const QFileInfo f(joinPath(*folder, name));
        return f.exists() || f.isSymLink();
    };
    QString name = QStringLiteral("New Folder");
    for (int n = 1; taken(name); ++n)
        name = QStringLiteral("New Folder (%1)").arg(n);

    if (Status failed = makeFolder(joinPath(*folder, name)))
        return failed;

    if (isWithin(CurrentNode, node))
        CurrentNode = nullptr;
    if (isWithin(DropHighlight, node))
        DropHighlight = nullptr;
    qDeleteAll(node->takeChildren());
    DisplayDir(*folder, node);
    return std::nullopt;
}

bool frmMP3::FolderNameAccepted(const QString &trimmed)
{
    static const QString forbidden = QStringLiteral("\\/:*<>|?\"");
    if (trimmed.isEmpty() || trimmed.size() >= 256)
        return false;
    for (QChar c : trimmed)
        if (forbidden.contains(c))
            return false;
    // "." and ".." name no folder of their own: a node so named would lead
    // new folders into its parent or above.
    return trimmed != u"." && trimmed != u"..";
}

QString frmMP3::trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' '))
        ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

bool frmMP3::renameOnDisk(const QString &from, const QString &to)
{
    const Status failed = renameNoReplace(from, to);
    if (failed)
        MsgBox(QStringLiteral("Cannot rename %1 to %2: %3")
                   .arg(QFileInfo(from).fileName(), QFileInfo(to).fileName(), failed->description),
               MsgBoxStyle::Critical);
    return !failed;
}

bool frmMP3::typedNameAccepted(QString &name, const QString &kind)
{
    name = trimBlanks(name);
    if (FolderNameAccepted(name))
        return true;
    MsgBox(kind + QStringLiteral(" names cannot be zero length, be larger than 255 characters or contain '\\/:*<>?|'."),
           MsgBoxStyle::Critical);
    return false;
}

void frmMP3::DirTree_AfterLabelEdit(bool &Cancel, QString &NewString)
{
    if (!typedNameAccepted(NewString, QStringLiteral("Folder"))) {
        Cancel = true;
        return;
    }
    // The name is taken only once the folder on disk bears it.
    QTreeWidgetItem *node = RenamingNode;
    if (!node || !node->parent())
        return;
    const QString from = node->data(0, PathRole).toString();
    if (NewString == QFileInfo(from).fileName()) {
        Cancel = true; // unchanged: the node keeps its text and its folder
        return;
    }
    const QString to = joinPath(QFileInfo(from).path(), NewString);
    if (from.isEmpty() || !renameOnDisk(from, to)) {
        Cancel = true;
        return;
    }
    folderMoved(node, from, to);
}

void frmMP3::folderMoved(QTreeWidgetItem *node, const QString &from, const QString &to)
{
    const QString inside = from + QLatin1Char('/');
    auto moved = [&](const QString &path) {
        if (path == from)
            return to;
        return path.startsWith(inside) ? to + path.mid(from.size()) : path;
    };
    QList<QTreeWidgetItem *> todo{node};
    while (!todo.isEmpty()) {
        QTreeWidgetItem *n = todo.takeLast();
        n->setData(0, PathRole, moved(n->data(0, PathRole).toString()));
        for (int i = 0; i < n->childCount(); ++i)
            todo.append(n->child(i));
    }
    // Files listed from inside the folder now live under its new name.
    for (int i = 1; i <= lstMP3->Count(); ++i)
        lstMP3->setSubItem(i, 3, moved(lstMP3->SubItem(i, 3)));
}

void frmMP3::setDropHighlight(QTreeWidgetItem *node)
{
    if (DropHighlight == node)
        return;
    if (DropHighlight) {
        DropHighlight->setData(0, Qt::BackgroundRole, QVariant());
        DropHighlight->setData(0, Qt::ForegroundRole, QVariant());
    }
    DropHighlight = node;
    if (node) {
        node->setBackground(0, DirTree->palette().brush(QPalette::Highlight));
        node->setForeground(0, DirTree->palette().brush(QPalette::HighlightedText));
    }
}

void frmMP3::DirTree_OLEDragOver(int &Effect, int Shift, int X, int Y)
{
    if (X != 0 && DraggingFromList) {
        if (Shift == 2) {
            Effect = 2;
            setWindowTitle(QStringLiteral("Moving..."));
        } else {
            Effect = 1;
            setWindowTitle(QStringLiteral("Copying..."));
        }
        QTreeWidgetItem *node = DirTree->itemAt(X, Y);
        setDropHighlight(node);
        if (node)
            DirTree->scrollToItem(node);
        const int index = NodeIndex(node);
        if (HoverNodeIndex != 0 && HoverNodeIndex != index)
            tmrMP3->start(400);
        if (node) {
            HoverNodeIndex = index;
            LastDropIndex = index;
        }
    } else if (X == 0) {
        if (QTreeWidgetItem *before = NodeAt(LastDropIndex - 1))
            DirTree->scrollToItem(before);
    }
}

void frmMP3::tmrMP3_Timer()
{
    if (QTreeWidgetItem *node = NodeAt(HoverNodeIndex))
        node->setExpanded(true);
    tmrMP3->stop();
    tmrMP3->setInterval(0);
}
