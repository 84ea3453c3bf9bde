#pragma once
// What every window test starts from: settings kept in a temporary folder, a
// silent but timed audio sink, and a file dialog that answers from a queue
// instead of waiting for a user.
#include "FileDialogControl.h"
#include "MediaPlayerControl.h"

#include <QSettings>
#include <QString>

inline void setUpWindowTestEnvironment(const QString &settingsDir,
                                       const QString &audioSink = QStringLiteral("fakesink sync=true"))
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
    MediaPlayerControl::setAudioSinkDescription(audioSink);
    FileDialogSeam::setScripted(true);
    FileDialogSeam::clear();
}
