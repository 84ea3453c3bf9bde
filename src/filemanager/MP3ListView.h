#pragma once
// The file manager's MP3 list: four columns (name, size, modified, full path)
// shown either as a report or as icons, the way a list-view control does it.
// One item model feeds two views, so the items and their selection are the
// same whichever view is on screen.
//
// Items are numbered from 1; sub-items 1 to 3 are columns 2 to 4.
#include <QDateTime>
#include <QStackedWidget>
#include <QStringList>
#include <functional>

class QStandardItemModel;
class QItemSelectionModel;
class QAbstractItemView;
class QModelIndex;
class MP3ReportView;
class MP3IconView;

class MP3ListView : public QStackedWidget {
    Q_OBJECT
public:
    // View values, also the indexes of the "View" menu items.
    enum : int { ViewLargeIcons = 0, ViewSmallIcons = 1, ViewList = 2, ViewDetails = 3 };
    enum : int { ColumnCount = 4 };

    explicit MP3ListView(QWidget *parent = nullptr);

    // ListItems: count, add, clear. columns holds the text and up to three
    // sub-items; a shorter list leaves the item without the missing ones.
    int Count() const;
    int Add(const QStringList &columns);
    // Many items at once (sorted once at the end when Sorted is set);
    // modified, where given, is what the "Modified" column sorts by.
    void AddMany(const QList<QStringList> &rows, const QList<QDateTime> &modified = {});
    void Clear();

    QString Text(int index) const;
    // Whether the item carries sub-item k (1 to 3), and its text ("" when not).
    bool HasSubItem(int index, int k) const;
    QString SubItem(int index, int k) const;
    void setSubItem(int index, int k, const QString &text);
    bool Selected(int index) const;
    void setSelected(int index, bool on);
    // Selects every item.
    void SelectAll();
    // The item the user last selected (the current one when it is selected,
    // else the first selected one); 0 when nothing is selected.
    int SelectedItem() const;

    // Sort state: column 0 to 3, order 0 ascending / 1 descending, and the
    // switch that sorts when set (and keeps later additions in order).
    int SortKey() const { return m_sortKey; }
    void setSortKey(int key);
    int SortOrder() const { return m_sortOrder; }
    void setSortOrder(int order);
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);

    int View() const { return m_view; }
    void setView(int view);
    // 1 lines icons up from the left by themselves.
    int Arrange() const { return m_arrange; }
    void setArrange(int arrange);

    // In-place editing of the selected item's name. The handler, when set,
    // sees every edited name (item index, Cancel, the name, which it may
    // change) before the item takes it.
    void StartLabelEdit();
    using LabelEditHandler = std::function<void(int index, bool &Cancel, QString &NewString)>;
    void setLabelEditHandler(LabelEditHandler handler) { m_labelEdit = std::move(handler); }

    // The text shown across an empty list.
    void setEmptyText(const QString &text);
    QString emptyText() const { return m_emptyText; }

    QStandardItemModel *model() const { return m_model; }
    QItemSelectionModel *selectionModel() const { return m_selection; }
    QAbstractItemView *reportView() const;
    QAbstractItemView *iconView() const;
    QAbstractItemView *activeView() const;
    // The viewport-relative rectangle of an item in the view on screen.
    QRect itemRect(int index) const;

signals:
    void ColumnClick(int columnIndex); // counted from 1
    // The selection changed, by mouse, keyboard or program.
    void ItemClick();
    void MouseDown(int button);
    void MouseMove();
    void MouseUp();
    void OLECompleteDrag();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sortNow();
    static QList<class QStandardItem *> makeRow(const QStringList &columns, const QDateTime &modified = {});
    QModelIndex indexOf(int index, int column = 0) const;
    void startDrag(QAbstractItemView *from);

    QStandardItemModel *m_model;
    QItemSelectionModel *m_selection;
    MP3ReportView *m_report;
    MP3IconView *m_icons;
    int m_sortKey = 0;
    int m_sortOrder = 0;
    bool m_sorted = false;
    int m_view = ViewDetails;
    int m_arrange = 0;
    QString m_emptyText;
    LabelEditHandler m_labelEdit;

    friend class MP3ReportView;
    friend class MP3IconView;
};
