#pragma once
// The folder picker's folder list: the folders of the open path from the root
// down, each open, then the folders inside the open one. Opening one (double
// click or Enter) makes it the path; a single click only highlights it.
#include <QListWidget>
#include <QString>

class dirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit dirListBox(QWidget *parent = nullptr);

    // The folder shown open.
    QString path() const { return m_path; }
    // Opens folder. A folder that does not exist or cannot be read is
    // refused: returns false and the list stays as it was.
    bool setPath(const QString &folder);
    // Re-reads the open folder.
    void refresh();

    // The folder an item stands for.
    static QString itemPath(const QListWidgetItem *item);

Q_SIGNALS:
    void pathChanged(const QString &path);

private:
    void fill();

    QString m_path;
};
