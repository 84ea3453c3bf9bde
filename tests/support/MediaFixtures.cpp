#include "MediaFixtures.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gst/gst.h>

#include <cmath>

namespace {
void ensureGst()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

// Quoted for a gst-launch description.
QString quoted(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + p + QLatin1Char('"');
}

// Audio in 10 ms buffers, so any length to a hundredth of a second is exact.
QString toneSource(double seconds, int frequency)
{
    const long buffers = std::max(1L, std::lround(seconds * 100.0));
    return QStringLiteral("audiotestsrc num-buffers=%1 samplesperbuffer=441 freq=%2 volume=0.3 "
                          "! audio/x-raw,rate=44100,channels=2 ")
        .arg(buffers)
        .arg(frequency);
}

QString target(const QString &dir, const QString &name)
{
    return QDir(dir).absoluteFilePath(name);
}

QString made(const QString &path, bool ok)
{
    if (ok && QFileInfo::exists(path))
        return path;
    qWarning() << "MediaFixtures: could not make" << path;
    return QString();
}

// gst-launch-1.0 joins its arguments with spaces after escaping every space
// outside double quotes, so the description goes over as its words, each
// quoted part kept whole, and comes out as it went in.
QStringList launchWords(const QString &description)
{
    QStringList words;
    QString word;
    bool inQuotes = false;
    for (qsizetype i = 0; i < description.size(); ++i) {
        const QChar ch = description.at(i);
        if (ch == QLatin1Char('"') && (!inQuotes || description.at(i - 1) != QLatin1Char('\\')))
            inQuotes = !inQuotes;
        if (ch == QLatin1Char(' ') && !inQuotes) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// Runs a description in a gst-launch-1.0 process (installed by
// scripts/deps.sh) rather than in the test: the MPEG-2 encoder library never
// frees its picture buffers (some 45 MB for a second of PAL), so only the end
// of a process gives them back.
bool runPipelineInOwnProcess(const QString &description, int timeoutMs = 60000)
{
    QProcess launch;
    launch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    launch.setStandardOutputFile(QProcess::nullDevice());
    launch.start(QStringLiteral("gst-launch-1.0"), QStringList{QStringLiteral("-q")} + launchWords(description));
    const bool ok = launch.waitForFinished(timeoutMs) && launch.exitStatus() == QProcess::NormalExit
        && launch.exitCode() == 0;
    if (!ok) {
        qWarning() << "MediaFixtures: gst-launch-1.0 failed:" << launch.errorString() << description;
        launch.kill();
        launch.waitForFinished();
    }
    return ok;
}
} // namespace

namespace MediaFixtures {

QString makeWithFfmpeg(const QString &path, const QStringList &arguments)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-nostdin"), QStringLiteral("-y"),
                                                       QStringLiteral("-loglevel"), QStringLiteral("error")}
                                               + arguments + QStringList{path});
    const bool ok = ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit
        && ffmpeg.exitCode() == 0;
    if (!ok)
        ffmpeg.kill();
    return made(path, ok);
}

bool runPipeline(const QString &description, int timeoutMs)
{
    ensureGst();
    GError *error = nullptr;
    GstElement *pipeline = gst_parse_launch(description.toUtf8().constData(), &error);
    if (error) {
        qWarning() << "MediaFixtures:" << error->message;
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *msg = gst_bus_timed_pop_filtered(
        bus, GstClockTime(timeoutMs) * GST_MSECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    bool ok = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg && !ok) {
        GError *err = nullptr;
        gst_message_parse_error(msg, &err, nullptr);
        qWarning() << "MediaFixtures:" << (err ? err->message : "error");
        if (err)
            g_error_free(err);
    }
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

QString makeWav(const QString &dir, const QString &name, double seconds, int frequency)
{
    const QString path = target(dir, name);
    return made(path, runPipeline(toneSource(seconds, frequency)
                                  + QStringLiteral("! audioconvert ! audio/x-raw,format=S16LE ! wavenc ! filesink location=")
                                  + quoted(path)));
}

QString makeLoudStereoWav(const QString &dir, const QString &name, double seconds)
{
    const QString path = target(dir, name);
    const long buffers = std::max(1L, std::lround(seconds * 100.0));
    // 10^(-1.3/20): the peak level of a loud master.
    const auto channel = [&](int frequency) {
        return QStringLiteral("audiotestsrc num-buffers=%1 samplesperbuffer=441 freq=%2 volume=0.861 "
                              "! audio/x-raw,format=S16LE,rate=44100,channels=1 ! i. ")
            .arg(buffers)
            .arg(frequency);
    };
    return made(path, runPipeline(QStringLiteral("interleave name=i ! audioconvert "
                                                 "! audio/x-raw,format=S16LE,channels=2 ! wavenc ! filesink location=")
                                  + quoted(path) + QLatin1Char(' ') + channel(440) + channel(660)));
}

QString makeMp3(const QString &dir, const QString &name, double seconds, int kbps)
{
    const QString path = target(dir, name);
    return made(path, runPipeline(toneSource(seconds, 440)
                                  + QStringLiteral("! audioconvert ! lamemp3enc target=bitrate cbr=true bitrate=%1 "
                                                   "! filesink location=")
                                        .arg(kbps)
                                  + quoted(path)));
}

QString makeTruncatedMp3(const QString &dir, const QString &name, double seconds, qint64 keepBytes)
{
    const QString path = makeMp3(dir, name, seconds);
    if (path.isEmpty())
        return path;
    QFile f(path);
    return made(path, f.resize(std::min(keepBytes, f.size())));
}

QString makeNonMedia(const QString &dir, const QString &name)
{
    const QString path = target(dir, name);
    QFile f(path);
    bool ok = f.open(QIODevice::WriteOnly);
    for (int i = 0; ok && i < 200; ++i)
        ok = f.write("These are the minutes of the meeting, not a song.\n") > 0;
    f.close();
    return made(path, ok);
}

QString makeVideo(const QString &dir, const QString &name, double seconds, QSize size, bool withAudio)
{
    const QString path = target(dir, name);
    const long frames = std::max(1L, std::lround(seconds * 25.0));
    QString desc = QStringLiteral("videotestsrc num-buffers=%1 ! video/x-raw,width=%2,height=%3,framerate=25/1 "
                                  "! videoconvert ! avenc_mpeg4 ! avimux name=mux ! filesink location=%4 ")
                       .arg(frames)
                       .arg(size.width())
                       .arg(size.height())
                       .arg(quoted(path));
    if (withAudio)
        desc += toneSource(seconds, 440) + QStringLiteral("! audioconvert ! lamemp3enc ! mux.");
    return made(path, runPipeline(desc));
}

QString makeTruncatedMov(const QString &dir, const QString &name, double seconds, bool moovFirst,
                         qint64 keepBytes)
{
    const QString path = target(dir, name);
    const long frames = std::max(1L, std::lround(seconds * 25.0));
    const QString desc = QStringLiteral("videotestsrc num-buffers=%1 ! video/x-raw,width=320,height=240,framerate=25/1 "
                                        "! videoconvert ! x264enc speed-preset=ultrafast ! qtmux faststart=%2 name=mux "
                                        "! filesink location=%3 ")
                             .arg(frames)
                             .arg(moovFirst ? QStringLiteral("true") : QStringLiteral("false"))
                             .arg(quoted(path))
        + toneSource(seconds, 440) + QStringLiteral("! audioconvert ! avenc_aac ! mux.");
    if (!runPipeline(desc))
        return made(path, false);
    QFile f(path);
    return made(path, f.resize(std::min(keepBytes, f.size())));
}

QString makeRedThenBlueVideo(const QString &dir, const QString &name, double seconds)
{
    const QString path = target(dir, name);
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffix == QLatin1String("asf")) {
        // GStreamer's ASF muxers write files that play back empty here.
        const QString colour = QStringLiteral("color=c=%1:s=160x120:r=25:d=%2[%3];");
        const QString half = QString::number(seconds / 2.0);
        return makeWithFfmpeg(path, {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                     colour.arg(QStringLiteral("red"), half, QStringLiteral("a"))
                                         + colour.arg(QStringLiteral("blue"), half, QStringLiteral("b"))
                                         + QStringLiteral("[a][b]concat=n=2:v=1:a=0"),
                                     QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                     QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds),
                                     QStringLiteral("-c:v"), QStringLiteral("wmv2"), QStringLiteral("-g"),
                                     QStringLiteral("12"), QStringLiteral("-c:a"), QStringLiteral("wmav2")});
    }
    QString encode;
    if (suffix == QLatin1String("mpg"))
        encode = QStringLiteral("mpeg2enc format=3 max-gop-size=12 min-gop-size=12 ! mpegpsmux name=mux");
    else
        encode = QStringLiteral("x264enc speed-preset=ultrafast key-int-max=12 ! qtmux name=mux");
    const QString audio = suffix == QLatin1String("mpg") ? QStringLiteral("avenc_mp2 ! mpegaudioparse")
                                                         : QStringLiteral("avenc_aac");
    const long half = std::max(1L, std::lround(seconds * 12.5));
    const auto part = [&](const char *pattern) {
        return QStringLiteral("videotestsrc pattern=%1 num-buffers=%2 ! video/x-raw,width=160,height=120,framerate=25/1 ! c. ")
            .arg(QLatin1String(pattern))
            .arg(half);
    };
    const QString desc = QStringLiteral("concat name=c ! videoconvert ! %1 ! filesink location=%2 ")
                             .arg(encode, quoted(path))
        + part("red") + part("blue") + toneSource(seconds, 440)
        + QStringLiteral("! audioconvert ! audioresample ! %1 ! mux.").arg(audio);
    return made(path, suffix == QLatin1String("mpg") ? runPipelineInOwnProcess(desc) : runPipeline(desc));
}

QString makeAnamorphicMpeg2(const QString &dir, const QString &name, double seconds)
{
    const QString path = target(dir, name);
    const long frames = std::max(1L, std::lround(seconds * 25.0));
    const QString desc = QStringLiteral("videotestsrc pattern=white num-buffers=%1 "
                                        "! video/x-raw,width=720,height=576,pixel-aspect-ratio=64/45,framerate=25/1 "
                                        "! videoconvert ! mpeg2enc format=3 aspect=3 ! mpegpsmux ! filesink location=%2")
                             .arg(frames)
                             .arg(quoted(path));
    return made(path, runPipelineInOwnProcess(desc));
}

QString makeFolderNamedLikeMedia(const QString &dir, const QString &name)
{
    const QString path = target(dir, name);
    return made(path, QDir().mkpath(path));
}

} // namespace MediaFixtures
