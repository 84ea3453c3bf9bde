#include "dirListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStyledItemDelegate>
#include <QTextDocument>

#include <algorithm>

#include "dir.h"
#include "dirSkin.h"

namespace {
constexpr int PathRole = Qt::UserRole + 1;
constexpr int LevelRole = Qt::UserRole + 2;
constexpr int IndentStep = 7;
constexpr int MaxIndent = 10; // deep paths stop indenting so names stay visible

// Indents each row by its depth, as a tree would, in a flat list.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        opt.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, opt, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index)
    {
        return std::min(index.data(LevelRole).toInt(), MaxIndent) * IndentStep;
    }
};
} // namespace

dirListBox::dirListBox(QWidget *parent)
    : QListWidget(parent)
{
    setIconSize(QSize(16, 13));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    setItemDelegate(new IndentDelegate(this));
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString target = itemPath(item);
        if (!target.isEmpty() && target != m_path)
            setPath(target);
    });
}

QString dirListBox::itemPath(const QListWidgetItem *item)
{
    return item ? item->data(PathRole).toString() : QString();
}

bool dirListBox::setPath(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(folder).isReadable())
        return false;
    const QString canonical = info.canonicalFilePath();
    m_path = canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    fill();
    Q_EMIT pathChanged(m_path);
    return true;
}

void dirListBox::refresh()
{
    if (!m_path.isEmpty())
        fill();
}

void dirListBox::fill()
{
    clear();
    // The same picture when selected: the default selected look greys it.
    static const QIcon openIcon = [] {
        QIcon icon(dirSkin::folderIcon(true));
        icon.addPixmap(dirSkin::folderIcon(true), QIcon::Selected);
        return icon;
    }();
    static const QIcon closedIcon = [] {
        QIcon icon(dirSkin::folderIcon(false));
        icon.addPixmap(dirSkin::folderIcon(false), QIcon::Selected);
        return icon;
    }();

    // The chain from the root down to the open folder.
    QStringList chain;
    for (QString p = m_path;;) {
        chain.prepend(p);
        if (p == u"/")
            break;
        const QString up = QFileInfo(p).absolutePath();
        if (up == p)
            break;
        p = up;
    }
    auto addRow = [this](const QString &text, const QString &target, int level, const QIcon &icon) {
        auto *item = new QListWidgetItem(icon, text, this);
        item->setData(PathRole, target);
        item->setData(LevelRole, level);
        // As it is: tool tips would take a folder named "<b>x" as markup.
        item->setToolTip(Qt::convertFromPlainText(target, Qt::WhiteSpacePre));
        return item;
    };
    int level = 0;
    QListWidgetItem *open = nullptr;
    for (const QString &p : chain) {
        const QString name = p == u"/" ? QStringLiteral("/") : QFileInfo(p).fileName();
        open = addRow(name, p, level++, openIcon);
    }

    // The folders inside, hidden ones left out, in name order.
    QStringList names = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), &dir::nameLess);
    const QString prefix = m_path == u"/" ? m_path : m_path + QLatin1Char('/');
    for (const QString &name : names)
        addRow(name, prefix + name, level, closedIcon);

    if (open) {
        setCurrentItem(open);
        scrollToItem(open, QAbstractItemView::EnsureVisible);
    }
}
