#pragma once
// The file manager's small pictures, drawn here: the tree's drive and folder
// images under their keys ("unknown", "fixed", "ram", "remove", "cd",
// "folder", "open", "remote") and the list's "Note".
#include <QIcon>
#include <QStringList>

namespace FileManagerImages {

// The keys of the tree's image list, in its order.
QStringList keys();
// The tree image for key (16 x 16 and 32 x 32); a null icon for any other key.
QIcon image(const QString &key);
// The list's "Note" image, 16 x 16 and 32 x 32.
QIcon note();

} // namespace FileManagerImages
