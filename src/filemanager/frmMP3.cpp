#include "frmMP3.h"

#include "FileDialogControl.h"
#include "FileManagerImages.h"
#include "MP3ListView.h"
#include "MsgBox.h"
#include "Twips.h"
#include "clsMousePointer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace {
QPointer<frmMP3> g_instance;

// Client area at design, in twips.
constexpr double DesignWidth = 4680;
constexpr double DesignHeight = 3195;
} // namespace

frmMP3 &frmMP3::instance()
{
    if (!g_instance) {
        g_instance = new frmMP3;
        // Closing the window unloads it; the next use loads a fresh one.
        g_instance->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *g_instance;
}

frmMP3::frmMP3(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmMP3"));
    setWindowTitle(QStringLiteral("MP3 Searcher"));
    buildControls();
    buildMenus();
    resize(Twips::toPixels(DesignWidth), Twips::toPixels(DesignHeight));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
    Form_Resize();
}

frmMP3::~frmMP3() = default;

void frmMP3::buildControls()
{
    // List1 lies under the tree and is never seen; it only holds names.
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSortingEnabled(true);
    List1->setGeometry(Twips::toPixels(120, 2055, 1935, 240));
    List1->hide();

    picSplit = new QWidget(this);
    picSplit->setObjectName(QStringLiteral("picSplit"));
    picSplit->setCursor(Qt::SizeHorCursor);
    picSplit->setAutoFillBackground(true);
    picSplit->installEventFilter(this);

    stbMp3 = new QStatusBar(this);
    stbMp3->setObjectName(QStringLiteral("stbMp3"));
    stbMp3->setSizeGripEnabled(true);
    stbMp3Panel1 = new QLabel(stbMp3);
    stbMp3Panel1->setObjectName(QStringLiteral("stbMp3Panel1"));
    stbMp3Panel1->setTextFormat(Qt::PlainText);
    stbMp3->addWidget(stbMp3Panel1, 1);

    picMP3 = new QWidget(this);
    picMP3->setObjectName(QStringLiteral("picMP3"));
    picMP3->setAutoFillBackground(true);
    picMP3->setBackgroundRole(QPalette::Base);
    picMP3->installEventFilter(this);

    lstMP3 = new MP3ListView(picMP3);
    lstMP3->setObjectName(QStringLiteral("lstMP3"));
    connect(lstMP3, &MP3ListView::ColumnClick, this, &frmMP3::lstMP3_ColumnClick);
    connect(lstMP3, &MP3ListView::ItemClick, this, &frmMP3::lstMP3_ItemClick);
    connect(lstMP3, &MP3ListView::MouseDown, this, &frmMP3::lstMP3_MouseDown);
    connect(lstMP3, &MP3ListView::MouseMove, this, &frmMP3::lstMP3_MouseMove);
    connect(lstMP3, &MP3ListView::MouseUp, this, &frmMP3::lstMP3_MouseUp);
    connect(lstMP3, &MP3ListView::OLECompleteDrag, this, &frmMP3::lstMP3_OLECompleteDrag);
    lstMP3->setLabelEditHandler([this](int index, bool &cancel, QString &name) {
        lstMP3_AfterLabelEdit(index, cancel, name);
    });

    DirTree = new QTreeWidget(this);
    DirTree->setObjectName(QStringLiteral("DirTree"));
    DirTree->setHeaderHidden(true);
    DirTree->setColumnCount(1);
    DirTree->setIconSize(QSize(16, 16));
    DirTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    DirTree->setItemDelegate(makeLabelEditDelegate(this));
    DirTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DirTree->header()->setStretchLastSection(false);
    DirTree->setAcceptDrops(true);
    DirTree->viewport()->setAcceptDrops(true);
    DirTree->installEventFilter(this);
    DirTree->viewport()->installEventFilter(this);
    // The list follows the folder chosen, by mouse or by keyboard.
    connect(DirTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) { DirTree_NodeClick(node); });
    connect(DirTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) {
        if (m_pressOnCurrent)
            DirTree_NodeClick(node);
    });
    // A folder shows its open image while expanded.
    auto showImage = [](QTreeWidgetItem *node, bool expanded) {
        const QString key = node->data(0, ImageRole).toString();
        const QString open = node->data(0, OpenImageRole).toString();
        node->setIcon(0, FileManagerImages::image(expanded && !open.isEmpty() ? open : key));
    };
    connect(DirTree, &QTreeWidget::itemExpanded, this, [showImage](QTreeWidgetItem *n) { showImage(n, true); });
    connect(DirTree, &QTreeWidget::itemCollapsed, this, [showImage](QTreeWidgetItem *n) { showImage(n, false); });

    cdgMP3 = new FileDialogControl(this);
    cdgMP3->setObjectName(QStringLiteral("cdgMP3"));

    tmrMP3 = new QTimer(this);
    tmrMP3->setObjectName(QStringLiteral("tmrMP3"));
    connect(tmrMP3, &QTimer::timeout, this, &frmMP3::tmrMP3_Timer);

    setTabOrder(lstMP3, DirTree);
}

void frmMP3::buildMenus()
{
    mnuPopup = new QMenu(QStringLiteral("PopupMenu"), this);
    mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    // Nothing in this window deletes a file: the item is shown, disabled, so
    // that no click on it seems to have worked.
    mnuDelete = mnuPopup->addAction(QStringLiteral("Delete"));
    mnuDelete->setEnabled(false);
    mnuRename = mnuPopup->addAction(QStringLiteral("Rename"), this, &frmMP3::mnuRename_Click);
    mnuSelectAll = mnuPopup->addAction(QStringLiteral("Select All"), this, &frmMP3::mnuSelectAll_Click);
    mnuMakePlayList = mnuPopup->addAction(QStringLiteral("Make Play List"), this, &frmMP3::mnuMakePlayList_Click);
    mnuPopup->addSeparator()->setObjectName(QStringLiteral("mnuSplit"));
    mnuView = mnuPopup->addMenu(QStringLiteral("View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    const QString views[] = {QStringLiteral("Large Icons"), QStringLiteral("Small Icons"), QStringLiteral("List"),
                             QStringLiteral("Details")};
    for (int i = 0; i < 4; ++i) {
        QAction *a = mnuView->addAction(views[i]);
        a->setCheckable(true);
        a->setChecked(i == 3);
        connect(a, &QAction::triggered, this, [this, i] { mnuViewIcon_Click(i); });
        mnuViewIcon.append(a);
    }

    mnuPopupMenu2 = new QMenu(QStringLiteral("PopupMenu2"), this);
    mnuPopupMenu2->setObjectName(QStringLiteral("mnuPopupMenu2"));
    mnuRenameFolder = mnuPopupMenu2->addAction(QStringLiteral("Rename"), this, &frmMP3::mnuRenameFolder_Click);
    mnuAddFolder = mnuPopupMenu2->addAction(QStringLiteral("New"), this, &frmMP3::mnuAddFolder_Click);
    mnuDeleteFolder = mnuPopupMenu2->addAction(QStringLiteral("Delete"));
    mnuDeleteFolder->setEnabled(false);
    mnuRefresh = mnuPopupMenu2->addAction(QStringLiteral("Refresh"), this, &frmMP3::mnuRefresh_Click);
}

QString frmMP3::HintText()
{
    return QStringLiteral("\n  Click the Drive\\Folder you wish \n   to search for MP3's.");
}

void frmMP3::Form_Load()
{
    clsMousePointer guard;
    if (Status e = guard.SetCursor(11)) {
        MsgBox(e->description, MsgBoxStyle::Critical);
        Unload();
        return;
    }
    lstMP3->setEmptyText(HintText());
    LoadDrives();
}

void frmMP3::Unload()
{
    // Closing from inside the constructor would delete a half-made window;
    // let the load finish first.
    QTimer::singleShot(0, this, &QWidget::close);
}

bool frmMP3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picSplit) {
        auto twipsX = [](QEvent *e) { return Twips::fromPixels(static_cast<QMouseEvent *>(e)->position().x()); };
        auto twipsY = [](QEvent *e) { return Twips::fromPixels(static_cast<QMouseEvent *>(e)->position().y()); };
        auto button = [](QEvent *e) { return int(static_cast<QMouseEvent *>(e)->buttons() & 7); };
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            picSplit_MouseDown(button(event), 0, twipsX(event), twipsY(event));
            return true;
        case QEvent::MouseMove:
            picSplit_MouseMove(button(event), 0, twipsX(event), twipsY(event));
            return true;
        case QEvent::MouseButtonRelease:
            picSplit_MouseUp(button(event), 0, twipsX(event), twipsY(event));
            return true;
        default:
            break;
        }
    } else if (watched == picMP3 && event->type() == QEvent::Resize) {
        picMP3_Resize();
    } else if (DirTree && watched == DirTree && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        int shift = 0;
        if (key->modifiers() & Qt::ShiftModifier) shift |= 1;
        if (key->modifiers() & Qt::ControlModifier) shift |= 2;
        if (key->modifiers() & Qt::AltModifier) shift |= 4;
        DirTree_KeyDown(key->key() == Qt::Key_F5 ? 116 : key->key(), shift);
        if (key->key() == Qt::Key_F5)
            return true;
    } else if (DirTree && watched == DirTree->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *m = static_cast<QMouseEvent *>(event);
            m_pressOnCurrent = DirTree->currentItem() && DirTree->itemAt(m->position().toPoint()) == DirTree->currentItem();
            if (m->button() == Qt::RightButton) {
                // The menu acts on the node selected before the click.
                DirTree_MouseDown(2, 0, int(m->position().x()), int(m->position().y()));
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
            event->accept();
            return true;
        case QEvent::DragMove: {
            auto *d = static_cast<QDragMoveEvent *>(event);
            int shift = 0;
            if (d->modifiers() & Qt::ShiftModifier) shift |= 1;
            if (d->modifiers() & Qt::ControlModifier) shift |= 2;
            if (d->modifiers() & Qt::AltModifier) shift |= 4;
            int effect = d->dropAction() == Qt::MoveAction ? 2 : 1;
            DirTree_OLEDragOver(effect, shift, int(d->position().x()), int(d->position().y()));
            const Qt::DropAction wanted = effect == 2 ? Qt::MoveAction : Qt::CopyAction;
            if (d->possibleActions() & wanted)
                d->setDropAction(wanted);
            d->accept();
            return true;
        }
        case QEvent::Drop:
            // Dropping on the tree does nothing.
            event->ignore();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
