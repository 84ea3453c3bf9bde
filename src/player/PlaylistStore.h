#pragma once
// The playlist of the main window: two list widgets kept at the same index.
// List1 (never on screen) holds each entry's full path, lstfavs the text the
// user sees. Every change goes through here so the two never drift apart.
#include <QString>
#include <QStringList>

#include "Error.h"
#include "PlaylistFile.h"

class QListWidget;

class PlaylistStore {
public:
    PlaylistStore(QListWidget *List1, QListWidget *lstfavs);

    QListWidget *fullPathList() const { return m_paths; }
    QListWidget *displayList() const { return m_display; }

    int count() const;
    QString path(int row) const;
    QString display(int row) const;

    // The most entries the playlist holds, as many as a playlist file.
    static constexpr int MaxRows = PlaylistFile::MaxEntries;
    // How many more entries fit.
    int room() const { return MaxRows - count(); }
    // Why adding this many entries is refused: error 7, naming the bound.
    Error noRoomFor(qsizetype adding) const;

    // Appends one entry at the end of both lists; the selection does not move.
    // A full playlist takes nothing: returns false.
    bool append(const QString &path, const QString &display);
    // Appends many entries at once, with one repaint, for loads and folder adds.
    // paths and displays must have the same size. Entries that would pass
    // MaxRows are refused all together: nothing is added, returns false.
    bool appendMany(const QStringList &paths, const QStringList &displays);
    void removeAt(int row);
    void clear();

    // The selected row of lstfavs, -1 for none.
    int selectedIndex() const;
    // Selects a row (-1 clears). A row beyond the list is refused: returns
    // false and leaves the selection as it was.
    bool setSelectedIndex(int row);
    // The text of the selected row of lstfavs; "" when none is selected.
    QString selectedText() const;
    // The full path of the selected entry (List1 at the selected index); "" when none.
    QString selectedPath() const;

private:
    QListWidget *m_paths;
    QListWidget *m_display;
};
