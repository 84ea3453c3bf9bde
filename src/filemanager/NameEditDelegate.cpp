#include "NameEditDelegate.h"

#include <QLineEdit>

NameEditDelegate::NameEditDelegate(QObject *parent, Handler handler, EditorText editorText)
    : QStyledItemDelegate(parent), m_handler(std::move(handler)), m_editorText(std::move(editorText))
{
}

void NameEditDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    const QString text = m_editorText ? m_editorText(index) : QString();
    if (line && !text.isNull())
        line->setText(text);
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void NameEditDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    // A refusal's message box takes the focus from the editor, which would
    // commit the same edit a second time.
    if (!line || m_busy)
        return;
    m_busy = true;
    bool cancel = false;
    QString name = line->text();
    if (m_handler)
        m_handler(index, cancel, name);
    if (!cancel)
        model->setData(index, name, Qt::EditRole);
    m_busy = false;
}
