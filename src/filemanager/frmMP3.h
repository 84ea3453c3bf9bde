#pragma once
// The MP3 file manager: a sizable window with the drives and their folders in
// a tree on the left, a splitter, and on the right a list of MP3 files that
// can be sorted, viewed four ways, summarised in the status bar and saved as
// a playlist. No other window opens it; instance() gives the one window.
//
// Files: frmMP3.cpp (controls, menus, load), frmMP3Tree.cpp (drive tree and
// folder listing), frmMP3Folders.cpp (new folder, renaming, drag-over),
// frmMP3Layout.cpp (layout and splitter), frmMP3List.cpp (MP3 list, summary,
// export, path split).
#include "DriveInfo.h"
#include "Error.h"
#include "FileManagerLayout.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <optional>
#include <variant>

class FileDialogControl;
class MP3ListView;
class QAbstractItemDelegate;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class frmMP3 : public QWidget {
    Q_OBJECT
public:
    // The one window, loaded on first use; after it was closed the next call
    // loads a fresh one.
    static frmMP3 &instance();

    explicit frmMP3(QWidget *parent = nullptr);
    ~frmMP3() override;

    // Where the drives come from (the mounted volumes unless a test says
    // otherwise); an empty function restores the default.
    using DriveSource = std::function<QList<DriveInfo>()>;
    static void setDriveSource(DriveSource source);

    // ---- Controls, named as the window names them.
    QTreeWidget *DirTree = nullptr;
    QListWidget *List1 = nullptr;     // folder names while one listing runs
    QWidget *picSplit = nullptr;
    QWidget *picMP3 = nullptr;
    MP3ListView *lstMP3 = nullptr;
    QStatusBar *stbMp3 = nullptr;
    QLabel *stbMp3Panel1 = nullptr;   // the status bar's first panel
    FileDialogControl *cdgMP3 = nullptr;
    QTimer *tmrMP3 = nullptr;

    QMenu *mnuPopup = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *mnuRename = nullptr;
    QAction *mnuSelectAll = nullptr;
    QAction *mnuMakePlayList = nullptr;
    QMenu *mnuView = nullptr;
    QList<QAction *> mnuViewIcon;     // Large Icons, Small Icons, List, Details
    QMenu *mnuPopupMenu2 = nullptr;
    QAction *mnuRenameFolder = nullptr;
    QAction *mnuAddFolder = nullptr;
    QAction *mnuDeleteFolder = nullptr;
    QAction *mnuRefresh = nullptr;

    // ---- Window state shared by the handlers.
    int HoverNodeIndex = 0;   // tree node last under the drag pointer, 0 none
    int LastDropIndex = 0;
    bool DraggingFromList = false;
    QTreeWidgetItem *CurrentNode = nullptr; // the node added last
    QTreeWidgetItem *DropHighlight = nullptr;
    FileManagerLayout::Places layout;

    // ---- Drive tree and folder listing.
    void Form_Load();
    void LoadDrives();
    void DisplayDir(const QString &Pth, QTreeWidgetItem *Parent);
    void DirTree_KeyDown(int KeyCode, int Shift);
    void mnuRefresh_Click();
    // The tree's key for a volume's root node.
    static QString DriveKey(const DriveInfo &drive);
    QTreeWidgetItem *NodeByKey(const QString &key) const;
    // First letter of each word upper case, the rest lower case.
    static QString ProperCase(const QString &text);
    // Fills the list with the MP3 files of the folder a clicked node stands for.
    void DirTree_NodeClick(QTreeWidgetItem *Node);
    void ListMP3Files(const QString &folder);

    // ---- Folder creation, renaming, drag-over.
    void DirTree_MouseDown(int Button, int Shift, int X, int Y);
    void mnuRenameFolder_Click();
    void mnuAddFolder_Click();
    Status AddDir();
    void DirTree_AfterLabelEdit(bool &Cancel, QString &NewString);
    // Whether a trimmed folder name may stand as a node's text.
    static bool FolderNameAccepted(const QString &trimmed);
    // Effect: 1 copy, 2 move; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y in pixels
    // of the tree's viewport.
    void DirTree_OLEDragOver(int &Effect, int Shift, int X, int Y);
    void tmrMP3_Timer();
    // The folder a node stands for, from the texts of the nodes down to it.
    std::optional<QString> NodeFolder(QTreeWidgetItem *node, Error *why = nullptr) const;
    // Nodes counted from 1 in the order the tree shows them, expanded or not.
    int NodeIndex(QTreeWidgetItem *node) const;
    QTreeWidgetItem *NodeAt(int index) const;
    int NodeCount() const;

    // ---- Layout and splitter.
    void Form_Resize();
    void picMP3_Resize();
    void picSplit_MouseDown(int Button, int Shift, double X, double Y);
    void picSplit_MouseMove(int Button, int Shift, double X, double Y);
    void picSplit_MouseUp(int Button, int Shift, double X, double Y);
    // The window's outer size in twips, border and title bar included.
    double WindowWidth() const;
    double WindowHeight() const;

    // ---- MP3 list.
    void lstMP3_ColumnClick(int ColumnIndex);
    void lstMP3_ItemClick();
    void lstMP3_MouseDown(int Button);
    void lstMP3_MouseMove();
    void lstMP3_MouseUp();
    void lstMP3_OLECompleteDrag();
    void mnuRename_Click();
    void mnuSelectAll_Click();
    void mnuMakePlayList_Click();
    void mnuViewIcon_Click(int Index);
    void EditSelectedTags();
    // "<count> MP3(s) Selected <MB> MB" over the selected items, or why not.
    static std::variant<QString, Error> SelectionSummary(const MP3ListView &list);
    // A number written as the user's locale writes it, shortest form, up to
    // 15 significant digits, no thousands separators.
    static QString NumberText(double value);

    // Path split at the last "/": the file name, and the folder with its "/".
    static QString GetSong(const QString &FullPath);
    static QString StripFileName(const QString &FullPath);

    // The hint shown across the empty list.
    static QString HintText();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placeControls();
    void Unload();
    static QAbstractItemDelegate *makeLabelEditDelegate(frmMP3 *window);
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, const QString &text, const QString &imageKey);
    void setDropHighlight(QTreeWidgetItem *node);
    void ReloadTree();
};
