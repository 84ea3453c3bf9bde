#include "add.h"

#include <QAction>
#include <QList>
#include <QListWidget>
#include <QMenu>

#include "MsgBox.h"
#include "PlaylistStore.h"
#include "frmEditTags.h"

namespace {
struct SeamState {
    bool scripted = false;
    QList<std::optional<QString>> choices;
    QList<QPoint> popups;
};
SeamState &seam()
{
    static SeamState s;
    return s;
}
} // namespace

add::add(PlaylistStore &store, QWidget *parent)
    : QWidget(parent, Qt::Window), m_store(store)
{
    setObjectName(QStringLiteral("add"));
    setWindowTitle(QStringLiteral("menus"));

    addpopup = new QMenu(QStringLiteral("popup"), this);
    addpopup->setObjectName(QStringLiteral("addpopup"));
    delfile = addpopup->addAction(QStringLiteral("Remove File"));
    delfile->setObjectName(QStringLiteral("delfile"));
    information = addpopup->addAction(QStringLiteral("Information"));
    information->setObjectName(QStringLiteral("information"));

    connect(delfile, &QAction::triggered, this, &add::delfile_Click);
    connect(information, &QAction::triggered, this, &add::information_Click);
}

void add::popupAt(const QPoint &globalPos)
{
    if (!seam().scripted) {
        addpopup->exec(globalPos);
        return;
    }
    seam().popups.append(globalPos);
    const std::optional<QString> choice = seam().choices.isEmpty() ? std::nullopt : seam().choices.takeFirst();
    if (!choice)
        return;
    for (QAction *action : addpopup->actions())
        if (action->objectName() == *choice && action->isEnabled())
            action->trigger();
}

void add::delfile_Click()
{
    // The selection is read once before anything is removed: removing the
    // selected row moves the current row, and the list may select the new
    // current row, which must not be taken for a selected entry.
    QListWidget *lstfavs = m_store.displayList();
    QList<int> selected;
    for (int i = 0; i < m_store.count(); ++i)
        if (lstfavs->item(i)->isSelected())
            selected.append(i);
    m_store.setSelectedIndex(-1);
    // From the last row to the first, so lower indexes stay valid.
    for (auto it = selected.crbegin(); it != selected.crend(); ++it)
        m_store.removeAt(*it);
    m_store.setSelectedIndex(-1);
}

// The tag editor gets the entry's full path: the visible row may show only
// the file name, which names no file the editor could open.
void add::information_Click()
{
    const QString path = m_store.selectedPath();
    if (m_store.selectedText().isEmpty() || path.isEmpty()) {
        MsgBox(QStringLiteral("No Media Loaded"), MsgBoxStyle::Exclamation, QStringLiteral("Orvane"));
        return;
    }
    frmEditTags &editor = frmEditTags::instance();
    // GetTags shows its own message when the file cannot be read.
    if (editor.GetTags(path))
        editor.StartEdit(path);
}

namespace addSeam {
void setScripted(bool on) { seam().scripted = on; }
bool isScripted() { return seam().scripted; }
void queueChoice(std::optional<QString> itemName) { seam().choices.append(std::move(itemName)); }
QList<QPoint> popups() { return seam().popups; }
void clear()
{
    seam().choices.clear();
    seam().popups.clear();
}
} // namespace addSeam
