#include "MP3ListView.h"

#include "FileManagerImages.h"
#include "NameEditDelegate.h"
#include "Twips.h"

#include <QDrag>
#include <QDateTime>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QTreeView>
#include <QUrl>

namespace {
// The number a column sorts by where its text would sort wrongly: a size's
// byte count, a date's milliseconds since 1970.
constexpr int SortValueRole = Qt::UserRole + 1;

// Sizes compare by their byte count, so 9 B comes before 10 B, and dates by
// the time itself, so 9 Dec 2026 comes after 30 Nov 2024; every other column
// compares its text without regard to letter case.
class MP3Item : public QStandardItem {
public:
    using QStandardItem::QStandardItem;
    bool operator<(const QStandardItem &other) const override
    {
        const QVariant a = data(SortValueRole);
        const QVariant b = other.data(SortValueRole);
        if (a.isValid() && b.isValid())
            return a.toLongLong() < b.toLongLong();
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

void paintEmptyText(QWidget *viewport, const QString &text)
{
    if (text.isEmpty())
        return;
    QPainter p(viewport);
    p.setPen(viewport->palette().color(QPalette::PlaceholderText));
    p.drawText(viewport->rect().adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

// Buttons numbered as the window's handlers take them: 1 left, 2 right, 4 middle.
int buttonNumber(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}
} // namespace

// The two views hand their drags to the list, which knows what an item means
// outside the window (its full path), and paint the hint over an empty list.
class MP3ReportView : public QTreeView {
public:
    MP3ReportView(MP3ListView *list) : QTreeView(list), m_list(list) {}

protected:
    void startDrag(Qt::DropActions) override { m_list->startDrag(this); }
    void paintEvent(QPaintEvent *e) override
    {
        QTreeView::paintEvent(e);
        if (model() && model()->rowCount() == 0)
            paintEmptyText(viewport(), m_list->emptyText());
    }

private:
    MP3ListView *m_list;
};

class MP3IconView : public QListView {
public:
    MP3IconView(MP3ListView *list) : QListView(list), m_list(list) {}

protected:
    void startDrag(Qt::DropActions) override { m_list->startDrag(this); }
    void paintEvent(QPaintEvent *e) override
    {
        QListView::paintEvent(e);
        if (model() && model()->rowCount() == 0)
            paintEmptyText(viewport(), m_list->emptyText());
    }

private:
    MP3ListView *m_list;
};

MP3ListView::MP3ListView(QWidget *parent)
    : QStackedWidget(parent),
      m_model(new QStandardItemModel(0, ColumnCount, this)),
      m_selection(new QItemSelectionModel(m_model, this)),
      m_report(new MP3ReportView(this)),
      m_icons(new MP3IconView(this))
{
    m_model->setHorizontalHeaderLabels({QStringLiteral("MP3 Name"), QStringLiteral("Size"),
                                        QStringLiteral("Modified"), QStringLiteral("Full Path")});
    m_model->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (QAbstractItemView *v : {static_cast<QAbstractItemView *>(m_report), static_cast<QAbstractItemView *>(m_icons)}) {
        v->setModel(m_model);
        v->setSelectionModel(m_selection);
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setEditTriggers(QAbstractItemView::EditKeyPressed);
        v->setDragEnabled(true);
        v->setDragDropMode(QAbstractItemView::DragOnly);
        v->setDefaultDropAction(Qt::CopyAction);
        v->viewport()->setMouseTracking(true);
        v->viewport()->installEventFilter(this);
        v->setFrameShape(QFrame::NoFrame);
        v->setItemDelegate(new NameEditDelegate(this, [this](const QModelIndex &index, bool &cancel, QString &name) {
            if (m_labelEdit)
                m_labelEdit(index.row() + 1, cancel, name);
        }));
    }

    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setAllColumnsShowFocus(true);
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setIconSize(QSize(16, 16));
    QHeaderView *header = m_report->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    const int widths[ColumnCount] = {3000, 1440, 2000, 5000};
    for (int c = 0; c < ColumnCount; ++c)
        header->resizeSection(c, Twips::toPixels(widths[c]));
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) { emit ColumnClick(section + 1); });

    m_icons->setMovement(QListView::Static);
    m_icons->setUniformItemSizes(true);

    // Whatever changes the selection (a click, Shift+arrows, Ctrl+A, "Select
    // All") is what the summary has to follow.
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &MP3ListView::ItemClick);

    addWidget(m_report);
    addWidget(m_icons);
    setView(ViewDetails);
}

QAbstractItemView *MP3ListView::reportView() const { return m_report; }
QAbstractItemView *MP3ListView::iconView() const { return m_icons; }
QAbstractItemView *MP3ListView::activeView() const
{
    return m_view == ViewDetails ? static_cast<QAbstractItemView *>(m_report) : m_icons;
}

int MP3ListView::Count() const { return m_model->rowCount(); }

QList<QStandardItem *> MP3ListView::makeRow(const QStringList &columns, const QDateTime &modified)
{
    QList<QStandardItem *> row;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c >= columns.size()) {
            row.append(nullptr); // the item simply has no such sub-item
            continue;
        }
        auto *item = new MP3Item(columns.at(c));
        item->setEditable(c == 0);
        item->setDragEnabled(true);
        if (c == 0)
            item->setIcon(FileManagerImages::note());
        if (c == 1) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const QString &t = columns.at(c);
            bool ok = false;
            const qlonglong bytes = t.size() > 2 ? t.chopped(2).trimmed().toLongLong(&ok) : 0;
            if (ok)
                item->setData(bytes, SortValueRole);
        }
        if (c == 2 && modified.isValid())
            item->setData(modified.toMSecsSinceEpoch(), SortValueRole);
        row.append(item);
    }
    return row;
}

int MP3ListView::Add(const QStringList &columns)
{
    m_model->appendRow(makeRow(columns));
    if (m_sorted)
        sortNow();
    return m_model->rowCount();
}

void MP3ListView::AddMany(const QList<QStringList> &rows, const QList<QDateTime> &modified)
{
    for (qsizetype i = 0; i < rows.size(); ++i)
        m_model->appendRow(makeRow(rows.at(i), modified.value(i)));
    if (m_sorted)
        sortNow();
}

void MP3ListView::Clear() { m_model->removeRows(0, m_model->rowCount()); }

QModelIndex MP3ListView::indexOf(int index, int column) const
{
    return m_model->index(index - 1, column);
}

QString MP3ListView::Text(int index) const { return m_model->data(indexOf(index)).toString(); }

bool MP3ListView::HasSubItem(int index, int k) const
{
    if (index < 1 || index > Count() || k < 1 || k >= ColumnCount)
        return false;
    return m_model->item(index - 1, k) != nullptr;
}

QString MP3ListView::SubItem(int index, int k) const
{
    return HasSubItem(index, k) ? m_model->item(index - 1, k)->text() : QString();
}

void MP3ListView::setSubItem(int index, int k, const QString &text)
{
    if (HasSubItem(index, k))
        m_model->item(index - 1, k)->setText(text);
}

// The icon views select only the name; the report selects whole rows. Either
// way the item is selected when the user sees it selected.
bool MP3ListView::Selected(int index) const
{
    return m_selection->rowIntersectsSelection(index - 1, QModelIndex());
}

void MP3ListView::setSelected(int index, bool on)
{
    const QModelIndex i = indexOf(index);
    if (!i.isValid())
        return;
    m_selection->select(i, (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                               | QItemSelectionModel::Rows);
}

void MP3ListView::SelectAll()
{
    if (Count() == 0)
        return;
    m_selection->select(QItemSelection(indexOf(1), indexOf(Count(), ColumnCount - 1)),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int MP3ListView::SelectedItem() const
{
    const QModelIndex current = m_selection->currentIndex();
    if (current.isValid() && Selected(current.row() + 1))
        return current.row() + 1;
    int first = 0;
    for (const QModelIndex &i : m_selection->selectedIndexes())
        if (first == 0 || i.row() + 1 < first)
            first = i.row() + 1;
    return first;
}

void MP3ListView::setSortKey(int key)
{
    m_sortKey = qBound(0, key, ColumnCount - 1);
    if (m_sorted)
        sortNow();
}

void MP3ListView::setSortOrder(int order)
{
    m_sortOrder = order == 0 ? 0 : 1;
    if (m_sorted)
        sortNow();
}

void MP3ListView::setSorted(bool on)
{
    m_sorted = on;
    if (on)
        sortNow();
    m_report->header()->setSortIndicatorShown(on);
}

void MP3ListView::sortNow()
{
    const Qt::SortOrder order = m_sortOrder == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_model->sort(m_sortKey, order);
    m_report->header()->setSortIndicator(m_sortKey, order);
}

void MP3ListView::setView(int view)
{
    if (view < ViewLargeIcons || view > ViewDetails)
        return;
    const QModelIndex current = m_selection->currentIndex();
    m_view = view;
    if (view == ViewDetails) {
        setCurrentWidget(m_report);
    } else {
        if (view == ViewLargeIcons) {
            m_icons->setViewMode(QListView::IconMode);
            m_icons->setIconSize(QSize(32, 32));
            m_icons->setGridSize(QSize(96, 68));
            m_icons->setWordWrap(true);
            m_icons->setFlow(QListView::LeftToRight);
        } else {
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setIconSize(QSize(16, 16));
            m_icons->setGridSize(QSize());
            m_icons->setWordWrap(false);
            // Small icons fill rows, the list fills columns.
            m_icons->setFlow(view == ViewSmallIcons ? QListView::LeftToRight : QListView::TopToBottom);
        }
        m_icons->setWrapping(true);
        m_icons->setMovement(QListView::Static);
        m_icons->setResizeMode(m_arrange == 1 ? QListView::Adjust : QListView::Fixed);
        setCurrentWidget(m_icons);
    }
    if (current.isValid())
        activeView()->scrollTo(current);
}

void MP3ListView::setArrange(int arrange)
{
    m_arrange = arrange;
    m_icons->setResizeMode(arrange == 1 ? QListView::Adjust : QListView::Fixed);
    if (arrange == 1)
        m_icons->doItemsLayout();
}

void MP3ListView::StartLabelEdit()
{
    const int i = SelectedItem();
    if (i == 0)
        return;
    QAbstractItemView *v = activeView();
    v->setFocus();
    v->edit(indexOf(i));
}

void MP3ListView::setEmptyText(const QString &text)
{
    m_emptyText = text;
    m_report->viewport()->update();
    m_icons->viewport()->update();
}

QRect MP3ListView::itemRect(int index) const { return activeView()->visualRect(indexOf(index)); }

void MP3ListView::startDrag(QAbstractItemView *from)
{
    QList<QUrl> urls;
    QStringList paths;
    for (int i = 1; i <= Count(); ++i) {
        if (!Selected(i) || SubItem(i, 3).isEmpty())
            continue;
        urls.append(QUrl::fromLocalFile(SubItem(i, 3)));
        paths.append(SubItem(i, 3));
    }
    if (!urls.isEmpty()) {
        auto *mime = new QMimeData;
        mime->setUrls(urls);
        mime->setText(paths.join(QLatin1Char('\n')));
        auto *drag = new QDrag(from);
        drag->setMimeData(mime);
        drag->setPixmap(FileManagerImages::note().pixmap(32, 32));
        // Copy only: nothing in this window ever deletes or moves a file,
        // and a move accepted elsewhere would take the file away.
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    }
    emit OLECompleteDrag();
}

bool MP3ListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_report->viewport() || watched == m_icons->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            emit MouseDown(buttonNumber(static_cast<QMouseEvent *>(event)->button()));
            break;
        case QEvent::MouseMove:
            emit MouseMove();
            break;
        case QEvent::MouseButtonRelease:
            emit MouseUp();
            break;
        default:
            break;
        }
    }
    return QStackedWidget::eventFilter(watched, event);
}
