#pragma once
// The hidden window that hosts the playlist's right-click menu. It is never
// shown; the main window creates it on the first right click and keeps it.
#include <QPoint>
#include <QString>
#include <QWidget>
#include <optional>

class PlaylistStore;
class QAction;
class QMenu;

class add : public QWidget {
    Q_OBJECT
public:
    explicit add(PlaylistStore &store, QWidget *parent = nullptr);

    QMenu *addpopup = nullptr;
    QAction *delfile = nullptr;
    QAction *information = nullptr;

    // Pops the menu up at a screen position and returns once the chosen
    // item's handler has run (or the menu was dismissed).
    void popupAt(const QPoint &globalPos);

    void delfile_Click();
    void information_Click();

private:
    PlaylistStore &m_store;
};

// Test seam: when scripted, popupAt never shows the menu; it records the
// position and triggers the next queued item (by its object name, "delfile"
// or "information"), or nothing for std::nullopt or an empty queue.
namespace addSeam {
void setScripted(bool on);
bool isScripted();
void queueChoice(std::optional<QString> itemName);
QList<QPoint> popups();
void clear();
}
