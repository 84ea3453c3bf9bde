#pragma once
// Media files for tests and benchmarks, made on the spot from GStreamer's test
// sources, so nothing is downloaded and every length is known. Each maker
// writes into dir (which must exist) and returns the file's absolute path, or
// "" when it could not be made (the reason goes to qWarning).
#include <QSize>
#include <QString>
#include <QStringList>

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

// A film whose picture is red for its first half and blue for its second,
// with a tone, in the container the name's extension asks for: ".mpg"
// (MPEG-2 program stream), ".asf" (WMV, made by ffmpeg) or ".mov" (H.264). Key frames every
// half second, as usual for such files.
QString makeRedThenBlueVideo(const QString &dir, const QString &name, double seconds);

// A 720x576 MPEG-2 program stream marked 16:9: its pixels are 64:45 wide,
// so it shows 1024x576-shaped. The picture is plain white.
// MPEG-2 files are encoded by a gst-launch-1.0 process, which keeps the
// encoder's unfreed buffers out of the test.
QString makeAnamorphicMpeg2(const QString &dir, const QString &name, double seconds);

// A folder named like a song ("song.mp3"): players must refuse it cleanly.
QString makeFolderNamedLikeMedia(const QString &dir, const QString &name);

// Runs ffmpeg (installed by scripts/deps.sh) with these arguments and path
// as its output, for formats GStreamer cannot write (RealMedia) or writes
// badly. Returns path, or "" when ffmpeg failed.
QString makeWithFfmpeg(const QString &path, const QStringList &arguments);

// Runs a gst-launch description to its end (bounded); true when it finished
// without error. For fixtures of a kind not listed above.
bool runPipeline(const QString &description, int timeoutMs = 30000);

} // namespace MediaFixtures
