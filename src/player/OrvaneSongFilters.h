#pragma once
// The open dialog's song filters. Each site of the dialog add has its own;
// they differ only in their patterns.
#include <QString>

namespace SongFilter {
// "Add Songs"
inline const QString A = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd;*.wmv");
// FILE of the add pop-up, Play of the compact strip
inline const QString B = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd");
// Play of the player
inline const QString C = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd;*.wav");
// Play of the playlist panel
inline const QString D = QStringLiteral(
    "All Supported Formats|*.mp3;*.wav;*.wma;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd");
// Double click on the playlist
inline const QString E = QStringLiteral(
    "All Supported Formats|*.mp3;*.cda;*.wav;*.wma;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;*.aif;*.aifc;*.aiff;*.au;*.snd");
} // namespace SongFilter

// The media name that plays the audio CD in place of a chosen CD track.
inline const QString CdAudioDevice = QStringLiteral("CDAUDIO:");
