#pragma once
// Media files for tests and benchmarks, made on the spot from GStreamer's test
// sources, so nothing is downloaded and every length is known. Each maker
// writes into dir (which must exist) and returns the file's absolute path, or
// "" when it could not be made (the reason goes to qWarning).
#include <QSize>
#include <QString>

namespace MediaFixtures {

// A sine tone as 16-bit stereo PCM WAV, 44.1 kHz.
QString makeWav(const QString &dir, const QString &name, double seconds, int frequency = 440);

// Stereo PCM WAV as loud as mastered music: peaks at -1.3 dBFS, never at
// full scale, a different tone in each channel (left 440 Hz, right 660 Hz),
// so that anything that adds the channels together goes over the top.
QString makeLoudStereoWav(const QString &dir, const QString &name, double seconds);

// A constant-bitrate MP3 (LAME), 44.1 kHz stereo.
QString makeMp3(const QString &dir, const QString &name, double seconds, int kbps = 128);

// An MP3 of `seconds` cut off after keepBytes bytes, mid-frame (a download
// that broke off). A few hundred bytes leave nothing that can be decoded.
QString makeTruncatedMp3(const QString &dir, const QString &name, double seconds, qint64 keepBytes);

// A file with a media name and no media inside (text).
QString makeNonMedia(const QString &dir, const QString &name);

// A colour-bar video (MPEG-4 part 2 in AVI) with a tone as MP3 audio, or
// without sound when withAudio is false.
QString makeVideo(const QString &dir, const QString &name, double seconds,
                  QSize size = QSize(160, 120), bool withAudio = true);

// A QuickTime file (H.264 video with AAC sound) cut off after keepBytes
// bytes, as a download that broke off. With moovFirst the index comes
// before the media data (so what is left may be played); otherwise it
// comes last and is lost with the cut.
QString makeTruncatedMov(const QString &dir, const QString &name, double seconds, bool moovFirst,
                         qint64 keepBytes);

// A folder named like a song ("song.mp3"): players must refuse it cleanly.
QString makeFolderNamedLikeMedia(const QString &dir, const QString &name);

// Runs a gst-launch description to its end (bounded); true when it finished
// without error. For fixtures of a kind not listed above.
bool runPipeline(const QString &description, int timeoutMs = 30000);

} // namespace MediaFixtures
