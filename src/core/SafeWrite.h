#pragma once
// Writing a whole file so that a failure never costs the old contents: every
// write, the fsync and the close are checked before anything of the old file
// is touched, and a failure carries the system's reason ("No space left on
// device").
#include <QByteArrayView>
#include <QString>

#include "Error.h"

namespace SafeWrite {

enum class Mode {
    // A new file in the same folder, renamed over the old one when complete.
    Replace,
    // As Replace; where the folder forbids new files but the file itself may
    // be written, the file is rewritten in place, with the room for the new
    // contents reserved first, so that a full disk leaves it as it was.
    ReplaceOrInPlace,
};

// Makes fileName hold exactly bytes. A link is followed: its target is
// written. An existing file keeps its permissions; one that may not be
// written is refused. The folder must exist. A save killed part-way leaves no
// file behind where the file system can make a file without a name; where it
// cannot, or when it is killed in the instant between naming and renaming,
// its scratch file is removed by the next save of the same file.
Status writeFile(const QString &fileName, QByteArrayView bytes, Mode mode = Mode::Replace);

// A private folder beside fileName, for the work files of a change to it
// that some other code insists on writing under names of its own. It is
// made, and left-overs of earlier changes removed, on construction; it is
// marked as in use for the object's life and removed, with the files in it,
// with the object. One that a killed change left behind is removed by the
// next change or save of the same file.
class WorkFolder {
public:
    explicit WorkFolder(const QString &fileName);
    ~WorkFolder();
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;
    // Empty when the folder could not be made.
    QString path() const { return m_path; }

private:
    int m_fd = -1;
    QString m_path;
};

} // namespace SafeWrite
