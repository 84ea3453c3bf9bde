#pragma once
// What a window's title line says when a media cannot be opened or stops on
// an error, so the user sees the failure where the name would have been.
#include "Error.h"

#include <QString>

// "Cannot play song.mp3 (File not found)": the name without its folder and
// the media control's reason.
QString CannotPlayText(const QString &name, const Error &error);
