// The playlist panel: saving and loading playlist files, the SAVE/LOAD
// pop-up, the folder picker, and what the mouse does on the visible list
// (double click plays, right button opens the menu of the hidden `add`
// window).
#include "Orvane.h"

#include "FileDialogControl.h"
#include "ImageControl.h"
#include "OrvanePlaylistFiles.h"
#include "OrvaneSongFilters.h"
#include "Twips.h"
#include "add.h"
#include "dir.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <functional>

namespace {
// Takes the visible list's mouse events before the list does: the right
// button must not select the row under the pointer (the menu acts on the row
// selected before), and a double click runs after the list has seen it, as
// the double click of a list box follows its selection.
class ListMouse : public QObject {
public:
    ListMouse(QListWidget *list, std::function<void(QMouseEvent *)> rightPress, std::function<void()> doubleClick)
        : QObject(list), m_rightPress(std::move(rightPress)), m_doubleClick(std::move(doubleClick))
    {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                // A quick second right press comes as a press (which pops the
                // menu) and then a double click, which the list would take
                // for a press selecting a row: it is only swallowed.
                if (event->type() == QEvent::MouseButtonPress)
                    m_rightPress(mouse);
                return true;
            }
            if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton
                && !m_delivering) {
                m_delivering = true;
                QCoreApplication::sendEvent(watched, event);
                m_delivering = false;
                m_doubleClick();
                return true;
            }
            return false;
        }
        case QEvent::MouseButtonRelease:
            return static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
        default:
            return false;
        }
    }

private:
    std::function<void(QMouseEvent *)> m_rightPress;
    std::function<void()> m_doubleClick;
    bool m_delivering = false;
};
} // namespace

void Orvane::wirePlaylist()
{
    connect(c.LOADLIST, &ImageControl::Click, this, &Orvane::LOADLIST_Click);
    connect(c.savelist, &ImageControl::Click, this, &Orvane::savelist_Click);
    connect(c.list, &ImageControl::Click, this, &Orvane::list_Click);
    connect(c.directory, &ImageControl::Click, this, &Orvane::directory_Click);
    QListWidget *lstfavs = c.lstfavs;
    // Loaded entries show whole paths, wider than the list: cut them in the
    // middle so the song's own name stays readable.
    lstfavs->setTextElideMode(Qt::ElideMiddle);
    new ListMouse(
        lstfavs,
        [this, lstfavs](QMouseEvent *e) {
            // X and Y from the list's own corner, as its handler takes them.
            const QPointF at = lstfavs->viewport()->mapTo(lstfavs, e->position());
            lstfavs_MouseDown(ImageControl::buttonsValue(e->buttons() | e->button()),
                              ImageControl::shiftValue(e->modifiers()), Twips::fromPixels(at.x()),
                              Twips::fromPixels(at.y()));
        },
        [this] { lstfavs_DblClick(); });
}

add *Orvane::menuWindow() const { return m_menus.data(); }

// LOAD: replaces the playlist with a playlist file's entries.
void Orvane::LOADLIST_Click() { PlaylistActions::loadList(*c.cd1, m_playlist); }

// SAVE: writes every entry's full path into a playlist file. An empty
// playlist is refused with a message, and the program goes on.
void Orvane::savelist_Click() { PlaylistActions::saveList(*c.cd1, m_playlist); }

// LIST shows or hides the SAVE/LOAD pop-up; its hot spots work either way.
void Orvane::list_Click() { c.listbar->setVisible(c.listbar->isHidden()); }

// DIR: the folder picker adds a folder's songs itself; returns when it closes.
void Orvane::directory_Click() { dir::pick(this, m_playlist); }

// Plays the selected entry from its full path; with nothing selected (or an
// empty row) the user picks a song in the dialog instead.
void Orvane::lstfavs_DblClick()
{
    const int row = m_playlist.selectedIndex();
    if (row < 0) {
        c.List1->clearSelection();
        c.List1->setCurrentRow(-1);
    } else {
        c.List1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    const QString shown = m_playlist.selectedText();
    if (shown.isEmpty()) {
        // Nothing to play: the user picks a song instead, and a cancelled
        // dialog leaves the player, the title and ext as they were.
        AddSongFromDialog({SongFilter::E, false, true, true});
        return;
    }
    const QString path = m_playlist.path(row);
    c.ext->setText(path.right(3));
    // By character code: "CDA" is a file like any other.
    if (c.ext->text() == QLatin1String("cda")) {
        if (openInPlayer(CdAudioDevice))
            playInPlayer();
        return; // the title keeps its text for a CD track
    }
    // Named before it is opened: an entry that cannot be opened says so instead.
    setTitle(shown);
    openInPlayer(path);
}

// The right button pops the menu up at the pointer. The menu window is made
// on first use and then kept, hidden, with this window; being hidden it never
// keeps the program running once the last visible window has closed.
void Orvane::lstfavs_MouseDown(int Button, int Shift, double X, double Y)
{
    if (!(Button & 2))
        return;
    if (!m_menus) {
        m_menus = new add(m_playlist, this);
        m_menus->setAttribute(Qt::WA_QuitOnClose, false);
    }
    const QPoint at = c.lstfavs->mapToGlobal(QPoint(Twips::toPixels(X), Twips::toPixels(Y)));
    m_menus->popupAt(at);
}
