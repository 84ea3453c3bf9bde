#include "PlaylistStore.h"

#include <QListWidget>
#include <QLocale>

PlaylistStore::PlaylistStore(QListWidget *List1, QListWidget *lstfavs)
    : m_paths(List1), m_display(lstfavs)
{
    // Every row is one line of text in one font: telling the views so spares
    // them measuring each of tens of thousands of rows after a load.
    for (QListWidget *list : {m_paths, m_display})
        if (list)
            list->setUniformItemSizes(true);
}

int PlaylistStore::count() const { return m_display->count(); }

QString PlaylistStore::path(int row) const
{
    const QListWidgetItem *item = m_paths->item(row);
    return item ? item->text() : QString();
}

QString PlaylistStore::display(int row) const
{
    const QListWidgetItem *item = m_display->item(row);
    return item ? item->text() : QString();
}

Error PlaylistStore::noRoomFor(qsizetype adding) const
{
    const QLocale english(QLocale::English);
    if (room() <= 0)
        return Error{ErrorNumber::OutOfMemory,
                     QStringLiteral("Out of memory: the playlist is full; it holds %1 entries, the most it can hold")
                         .arg(english.toString(MaxRows))};
    const QString entries = adding == 1 ? QStringLiteral("entry") : QStringLiteral("entries");
    return Error{ErrorNumber::OutOfMemory,
                 QStringLiteral("Out of memory: %1 more %2 would take the playlist's %3 past %4, "
                                "the most it can hold")
                     .arg(english.toString(qint64(adding)), entries, english.toString(count()),
                          english.toString(MaxRows))};
}

bool PlaylistStore::append(const QString &path, const QString &display)
{
    if (room() < 1)
        return false;
    m_paths->addItem(path);
    m_display->addItem(display);
    return true;
}

bool PlaylistStore::appendMany(const QStringList &paths, const QStringList &displays)
{
    Q_ASSERT(paths.size() == displays.size());
    const qsizetype n = std::min(paths.size(), displays.size());
    if (n > room())
        return false;
    m_paths->setUpdatesEnabled(false);
    m_display->setUpdatesEnabled(false);
    m_paths->addItems(paths.mid(0, n));
    m_display->addItems(displays.mid(0, n));
    m_paths->setUpdatesEnabled(true);
    m_display->setUpdatesEnabled(true);
    return true;
}

void PlaylistStore::removeAt(int row)
{
    if (row < 0 || row >= count())
        return;
    delete m_display->takeItem(row);
    delete m_paths->takeItem(row);
}

void PlaylistStore::clear()
{
    m_display->clear();
    m_paths->clear();
}

int PlaylistStore::selectedIndex() const
{
    const int row = m_display->currentRow();
    const QListWidgetItem *item = m_display->item(row);
    return item && item->isSelected() ? row : -1;
}

bool PlaylistStore::setSelectedIndex(int row)
{
    if (row < -1 || row >= count())
        return false;
    if (row == -1) {
        m_display->clearSelection();
        m_display->setCurrentRow(-1);
    } else {
        m_display->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    return true;
}

QString PlaylistStore::selectedText() const
{
    const int row = selectedIndex();
    return row < 0 ? QString() : display(row);
}

QString PlaylistStore::selectedPath() const
{
    const int row = selectedIndex();
    return row < 0 ? QString() : path(row);
}
