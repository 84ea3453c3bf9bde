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

    // What a tree node carries besides its text. The text is for display
    // only (folders in proper case); every path is built from PathRole, the
    // real folder on disk.
    static constexpr int KeyRole = Qt::UserRole;           // drive nodes: "root" + mount point
    static constexpr int PathRole = Qt::UserRole + 1;      // the folder the node stands for
    static constexpr int ImageRole = Qt::UserRole + 3;     // image key
    static constexpr int OpenImageRole = Qt::UserRole + 4; // expanded-image key

    // ---- Window state shared by the handlers.
    int HoverNodeIndex = 0;   // tree node last under the drag pointer, 0 none
    int LastDropIndex = 0;
    bool DraggingFromList = false;
    QTreeWidgetItem *CurrentNode = nullptr; // the node added last
    QTreeWidgetItem *DropHighlight = nullptr;
    QTreeWidgetItem *RenamingNode = nullptr; // the node whose text is being edited
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
    // Whether a trimmed folder or file name may be given.
    static bool FolderNameAccepted(const QString &trimmed);
    // Effect: 1 copy, 2 move; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y in pixels
    // of the tree's viewport.
    void DirTree_OLEDragOver(int &Effect, int Shift, int X, int Y);
    void tmrMP3_Timer();
    // The folder a node stands for.
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
    // An edited name of item Index: checked, then the file renamed on disk.
    void lstMP3_AfterLabelEdit(int Index, bool &Cancel, QString &NewString);
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
    // After a folder was renamed: the node, its children and the listed
    // files follow it to its new place.
    void folderMoved(QTreeWidgetItem *node, const QString &from, const QString &to);
    // Renames from to to on disk, never over an existing name; on failure
    // tells the user why and returns false.
    bool renameOnDisk(const QString &from, const QString &to);
    // Blanks only, as the old trim did; tabs and other spaces stay.
    static QString trimBlanks(const QString &s);
    // Trims a typed name; a name that cannot be given is refused with a
    // message that names its kind ("Folder", "File").
    static bool typedNameAccepted(QString &name, const QString &kind);
    // The tree's listing follows the current node; a click on the node that
    // is current already lists it again.
    bool m_pressOnCurrent = false;
    void ReloadTree();
};
