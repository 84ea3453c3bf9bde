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
// written is refused. The folder must exist.
Status writeFile(const QString &fileName, QByteArrayView bytes, Mode mode = Mode::Replace);

} // namespace SafeWrite
