#pragma once
// The texts of a list's rows, top to bottom, as the user reads them.
#include <QListWidget>
#include <QStringList>

inline QStringList rowsOf(const QListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows.append(list.item(i)->text());
    return rows;
}

inline QStringList rowsOf(const QListWidget *list) { return rowsOf(*list); }
