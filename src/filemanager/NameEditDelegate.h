#pragma once
// In-place editing of a name, in the tree or the MP3 list: the edit starts
// from the text the caller chooses (the real name on disk rather than the
// text shown) and ends through the caller's handler, which may change the
// name or refuse it (the item then keeps its text).
#include <QStyledItemDelegate>
#include <functional>

class NameEditDelegate : public QStyledItemDelegate {
public:
    using Handler = std::function<void(const QModelIndex &index, bool &Cancel, QString &NewString)>;
    // The editor's starting text; a null text keeps the item's own.
    using EditorText = std::function<QString(const QModelIndex &index)>;

    NameEditDelegate(QObject *parent, Handler handler, EditorText editorText = {});

    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    Handler m_handler;
    EditorText m_editorText;
    mutable bool m_busy = false;
};
