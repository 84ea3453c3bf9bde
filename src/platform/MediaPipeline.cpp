#include "MediaPipeline.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QSocketNotifier>

#include <gst/app/gstappsink.h>
#include <gst/audio/gstaudiobasesink.h>
#include <gst/video/video.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace {
// playbin's GstPlayFlags: video, audio, software volume. No subtitles or
// visualisations: the windows show neither.
constexpr guint PlayFlagVideo = 1u << 0;
constexpr guint PlayFlagAudio = 1u << 1;
constexpr guint PlayFlagSoftVolume = 1u << 4;
constexpr guint PlayFlagNativeVideo = 1u << 6;

constexpr double kSecond = double(GST_SECOND);

// The sound server is handed audio in 40 ms pieces instead of the default
// 10 ms: a quarter of the wake-ups of the sink's and the server's threads.
// What is queued at the sink stays at its default (200 ms), and a balance
// change reaches the sink a little sooner than before, not later.
constexpr gint64 kSinkPieceUs = 40000;

void setSinkPiece(GstElement *element)
{
    if (GST_IS_AUDIO_BASE_SINK(element))
        g_object_set(element, "latency-time", kSinkPieceUs, nullptr);
}

// autoaudiosink makes the real sink only when it starts: catch it then.
void onElementAdded(GstBin *, GstBin *, GstElement *element, gpointer)
{
    setSinkPiece(element);
}

// Calls f on top and on every element inside it, at any depth.
template <typename F>
void forEachElement(GstElement *top, F f)
{
    f(top);
    if (!GST_IS_BIN(top))
        return;
    GstIterator *it = gst_bin_iterate_recurse(GST_BIN(top));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        f(GST_ELEMENT(g_value_get_object(&item)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
}

bool madeBy(GstElement *element, const char *factory)
{
    GstElementFactory *f = gst_element_get_factory(element);
    return f && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(f)), factory) == 0;
}

// What the user is told when nothing would be heard.
QString noSoundOutput()
{
    return QStringLiteral("No sound output is available");
}

// pulsesink keeps one connection to the sound server for the whole process,
// shared by all its instances and closed only when the last of them closes.
// When the server goes away, an instance that is paused or stopped hears
// nothing of it, yet keeps that dead connection open: every pulsesink opened
// after it reuses the connection and fails, and autoaudiosink then falls back
// to a fake sink. A fresh instance brought to READY reuses the shared
// connection without asking the server anything, so it tells at once whether
// that connection still works.
bool serverConnectionAlive()
{
    gsth::Element probe = gsth::refSink(gst_element_factory_make("pulsesink", nullptr));
    if (!probe)
        return true;
    const bool alive = gst_element_set_state(probe.get(), GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS;
    gst_element_set_state(probe.get(), GST_STATE_NULL);
    return alive;
}

// The pipelines open now; the GUI thread is the only one that touches it.
QList<MediaPipeline *> &openPipelines()
{
    static QList<MediaPipeline *> pipelines;
    return pipelines;
}

QString errorText(GstMessage *message)
{
    gsth::GErrorPtr error;
    gsth::GChars debug;
    gst_message_parse_error(message, error.out(), debug.out());
    if (error && error->message && *error->message)
        return QString::fromUtf8(error->message);
    return QStringLiteral("The media cannot be played");
}

// How long release() waits for the sound output to be given back. It takes
// milliseconds; only a pipeline stuck in a read takes longer, and that one is
// left to finish on its own.
constexpr int kReleaseWaitMs = 2000;
// How long seek() waits for the seek to return before it lets it go on by
// itself: seeks in a readable file take a few milliseconds.
constexpr int kSeekWaitMs = 100;

// Set once by one thread; another may wait for it, for a while.
class Latch {
public:
    void set()
    {
        {
            std::lock_guard lock(m_mutex);
            m_set = true;
        }
        m_changed.notify_all();
    }
    bool waitFor(int ms)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_set; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};
} // namespace

// The streaming threads' way to their pipeline's frame slot. The pipeline
// cuts it when it lets go, waiting at most for a frame copy in progress; the
// link itself lives on until no streaming thread can run any more.
struct MediaPipeline::StreamLink {
    QMutex mutex;
    MediaPipeline *owner = nullptr;
};

// A seek on its own thread; the caller waits for it a little.
struct MediaPipeline::SeekCall {
    Latch returned;
    bool ok = false; // written before returned is set
    gint64 target = 0;
    std::shared_ptr<StreamLink> link;
};

// The GStreamer side of a pipeline that has been let go, on its way down.
struct MediaPipeline::Remains {
    gsth::Element playbin, videoSink, panorama, audioSink;
    gsth::Bus bus;
    std::shared_ptr<StreamLink> link;
    std::shared_ptr<Latch> down = std::make_shared<Latch>();
};

void MediaPipeline::ensureGstreamer()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!gst_is_initialized())
            gst_init(nullptr, nullptr);
        // libav's MP3 decoder costs several times mpg123's for the same
        // sound; MP3 is what this player plays all day.
        gsth::Handle<GstPluginFeature, gsth::objectUnref<GstPluginFeature>> mpg123(
            gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec"));
        if (mpg123)
            gst_plugin_feature_set_rank(mpg123.get(), GST_RANK_PRIMARY + 1);
    });
}

MediaPipeline::MediaPipeline() : m_link(std::make_shared<StreamLink>())
{
    m_link->owner = this;
}

MediaPipeline::~MediaPipeline()
{
    shutdown();
}

MediaPipeline *MediaPipeline::open(const QString &uri, const QString &audioSinkDescription,
                                   bool showVideo, double amplitude, double panorama, int prerollMs,
                                   Error *error)
{
    ensureGstreamer();
    releaseLostOutputs();
    auto *p = new MediaPipeline;
    if (!p->build(uri, audioSinkDescription, showVideo, error)) {
        delete p;
        return nullptr;
    }
    openPipelines().append(p);
    p->setAmplitude(amplitude);
    p->setPanorama(panorama);

    GstStateChangeReturn ret = gst_element_set_state(p->m_playbin.get(), GST_STATE_PAUSED);
    if (ret == GST_STATE_CHANGE_ASYNC)
        ret = gst_element_get_state(p->m_playbin.get(), nullptr, nullptr,
                                    GstClockTime(prerollMs) * GST_MSECOND);
    if (ret == GST_STATE_CHANGE_FAILURE) {
        // The reason is the first error on the bus; the rest is of no use now.
        gsth::Message msg(gst_bus_pop_filtered(p->m_bus.get(), GST_MESSAGE_ERROR));
        QString reason = QStringLiteral("The media cannot be played");
        if (msg)
            reason = GST_IS_AUDIO_BASE_SINK(GST_MESSAGE_SRC(msg.get())) ? noSoundOutput() : errorText(msg.get());
        *error = Error{ErrorNumber::MediaError, reason};
        delete p;
        return nullptr;
    }
    // ASYNC here means the preroll took longer than we wait: the media may
    // still come up (a slow device), or never (a broken file can leave the
    // demuxer waiting for good). The control bounds the wait.
    p->m_prerolled = ret != GST_STATE_CHANGE_ASYNC;
    if (p->m_prerolled && p->fellBackToFakeSink()) {
        *error = Error{ErrorNumber::MediaError, noSoundOutput()};
        delete p;
        return nullptr;
    }
    return p;
}

bool MediaPipeline::build(const QString &uri, const QString &audioSinkDescription, bool showVideo,
                          Error *error)
{
    m_playbin = gsth::refSink(gst_element_factory_make("playbin", nullptr));
    if (!m_playbin) {
        *error = Error{ErrorNumber::MediaError, QStringLiteral("GStreamer's playbin is not installed")};
        return false;
    }

    // Balance sits right in front of the sink. In playbin's audio-filter slot
    // it would be followed by a second of queued audio, so a turn of the
    // balance knob would be heard only a second later. The simple method only
    // turns the far side down; the default one mixes the far side into the
    // near one, which clips any loud record.
    const QString sink = audioSinkDescription.isEmpty() ? QStringLiteral("autoaudiosink") : audioSinkDescription;
    // playbin converts and resamples in front of it already; the converter
    // behind it serves sinks that want neither of the filter's two formats.
    // Decoders hand over one small frame at a time (26 ms for MP3); gathering
    // them into 100 ms buffers halves the cost of playback, and a balance
    // change is still heard within a tenth of a second.
    const QString withBalance =
        QStringLiteral("audiobuffersplit output-buffer-duration=1/10 ! audiopanorama name=balance method=simple ! audioconvert ! ") + sink;
    gsth::GErrorPtr parseError;
    gsth::Element audioSink = gsth::refSink(
        gst_parse_bin_from_description(withBalance.toUtf8().constData(), TRUE, parseError.out()));
    if (audioSink && !parseError) {
        m_panorama = gsth::Element(gst_bin_get_by_name(GST_BIN(audioSink.get()), "balance"));
    } else {
        // No audiopanorama here (a stripped install): play without balance.
        audioSink = gsth::refSink(gst_parse_bin_from_description(sink.toUtf8().constData(), TRUE, parseError.out()));
        if (!audioSink || parseError) {
            *error = Error{ErrorNumber::MediaError,
                           QStringLiteral("Bad audio sink: %1")
                               .arg(parseError ? QString::fromUtf8(parseError->message) : sink)};
            return false;
        }
    }
    forEachElement(audioSink.get(), setSinkPiece);
    if (GST_IS_BIN(audioSink.get()))
        m_sinkConnection = gsth::SignalConnection(audioSink.get(), "deep-element-added",
                                                  G_CALLBACK(&onElementAdded), nullptr);
    g_object_set(m_playbin.get(), "audio-sink", audioSink.get(), nullptr);
    m_audioSink = std::move(audioSink);

    // Video comes to us as plain frames, painted by the control itself, so it
    // looks the same on every windowing system and offscreen. A control out of
    // sight still has to take the pictures (a file may hold nothing else) but
    // lets them go unconverted.
    guint flags = PlayFlagAudio | PlayFlagSoftVolume | PlayFlagVideo;
    if (showVideo) {
        m_videoSink = gsth::refSink(gst_element_factory_make("appsink", nullptr));
        if (!m_videoSink) {
            *error = Error{ErrorNumber::MediaError, QStringLiteral("GStreamer's appsink is not installed")};
            return false;
        }
        // Qt's RGB32 as it lies in memory.
        gsth::Caps caps(gst_caps_from_string(Q_BYTE_ORDER == Q_LITTLE_ENDIAN
                                                 ? "video/x-raw,format=BGRx"
                                                 : "video/x-raw,format=xRGB"));
        g_object_set(m_videoSink.get(), "caps", caps.get(), "max-buffers", 1u, "drop", TRUE,
                     "sync", TRUE, "emit-signals", TRUE, "qos", TRUE, nullptr);
        m_sampleConnection = gsth::SignalConnection(m_videoSink.get(), "new-sample",
                                                    G_CALLBACK(&MediaPipeline::onFrame<gst_app_sink_pull_sample>), m_link.get());
        // The first frame after a seek while stopped or paused comes only
        // as a preroll: without it the picture would stay on the old place.
        m_prerollConnection = gsth::SignalConnection(m_videoSink.get(), "new-preroll",
                                                     G_CALLBACK(&MediaPipeline::onFrame<gst_app_sink_pull_preroll>), m_link.get());
        if (GstPad *pad = gst_element_get_static_pad(m_videoSink.get(), "sink")) {
            gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_FLUSH, &MediaPipeline::onFlush, m_link.get(), nullptr);
            gst_object_unref(pad);
        }
    } else {
        m_videoSink = gsth::refSink(gst_element_factory_make("fakesink", nullptr));
        if (m_videoSink)
            g_object_set(m_videoSink.get(), "sync", TRUE, "qos", TRUE, nullptr);
        flags |= PlayFlagNativeVideo;
    }
    if (m_videoSink)
        g_object_set(m_playbin.get(), "video-sink", m_videoSink.get(), nullptr);
    g_object_set(m_playbin.get(), "flags", flags, "uri", uri.toUtf8().constData(), nullptr);

    m_bus = gsth::Bus(gst_element_get_bus(m_playbin.get()));
    GPollFD pollFd{};
    gst_bus_get_pollfd(m_bus.get(), &pollFd);
    m_notifier = new QSocketNotifier(pollFd.fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MediaPipeline::drainBus);
    return true;
}

void MediaPipeline::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    openPipelines().removeOne(this);
    letGo(0);
    disconnect(this, nullptr, nullptr, nullptr);
}

// Taking a pipeline to NULL joins its streaming threads, and one of them may
// be inside a read that does not return (a share whose server stopped
// answering): that wait belongs to a thread of its own, never the caller's.
// Nothing of the pipeline reaches us after this returns: no bus message, as
// the watch is off, and no frame, as the link is cut.
bool MediaPipeline::letGo(int waitMs)
{
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_link) {
        QMutexLocker lock(&m_link->mutex);
        m_link->owner = nullptr;
    }
    m_sampleConnection.disconnect();
    m_prerollConnection.disconnect();
    m_sinkConnection.disconnect();
    if (!m_playbin)
        return true;
    // Silent at once, as Stop makes it, which never waits for a read: what
    // the streaming threads still push must not be heard once the caller
    // has moved on. A seek that has not returned holds the state lock, and
    // its flush keeps the sinks quiet meanwhile.
    GstState current = GST_STATE_NULL, pending = GST_STATE_NULL;
    gst_element_get_state(m_playbin.get(), &current, &pending, 0);
    if (!m_seekInFlight && (current == GST_STATE_PLAYING || pending == GST_STATE_PLAYING))
        gst_element_set_state(m_playbin.get(), GST_STATE_PAUSED);
    auto *remains = new Remains{std::move(m_playbin), std::move(m_videoSink), std::move(m_panorama),
                                std::move(m_audioSink), std::move(m_bus), std::move(m_link)};
    const std::shared_ptr<Latch> down = remains->down;
    gst_element_call_async(
        remains->playbin.get(), [](GstElement *element, gpointer) { gst_element_set_state(element, GST_STATE_NULL); },
        remains, [](gpointer data) {
            auto *r = static_cast<Remains *>(data);
            const std::shared_ptr<Latch> done = r->down;
            delete r;
            done->set();
        });
    return waitMs > 0 && down->waitFor(waitMs);
}

void MediaPipeline::dispose(MediaPipeline *pipeline)
{
    if (!pipeline)
        return;
    pipeline->shutdown();
    // Inside one of our own bus signals the caller's stack still runs on us.
    if (pipeline->m_draining)
        pipeline->deleteLater();
    else
        delete pipeline;
}

void MediaPipeline::drainBus()
{
    ++m_draining;
    while (!m_shutDown && m_bus) {
        gsth::Message msg(gst_bus_pop(m_bus.get()));
        if (!msg)
            break;
        handle(msg.get());
    }
    --m_draining;
}

void MediaPipeline::handle(GstMessage *message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        Q_EMIT endOfStream();
        break;
    case GST_MESSAGE_ERROR:
        // The sink's own failure once it played: the sound server went away
        // (or the device was unplugged). Its words mean nothing to a user.
        if (GST_IS_AUDIO_BASE_SINK(GST_MESSAGE_SRC(message))) {
            if (!m_prerolled) {
                Q_EMIT failed(noSoundOutput());
                break;
            }
            release();
            Q_EMIT outputLost();
            break;
        }
        Q_EMIT failed(errorText(message));
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        Q_EMIT durationChanged();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        if (!m_prerolled && fellBackToFakeSink()) { // a late load, checked as open() checks the others
            Q_EMIT failed(noSoundOutput());
            break;
        }
        if (!std::exchange(m_prerolled, true) && !takeUpDeferredSeek())
            break;
        Q_EMIT asyncDone();
        break;
    default:
        break;
    }
}

// autoaudiosink falls back to a fake sink, with no more than a warning, when
// no real one will open: the media would "play", its clock running, and
// nothing be heard. A fake sink the caller asked for by name is not this.
bool MediaPipeline::fellBackToFakeSink() const
{
    bool fake = false;
    forEachElement(m_audioSink.get(), [&fake](GstElement *element) {
        if (!madeBy(element, "fakesink"))
            return;
        gsth::Handle<GstObject, gsth::objectUnref<GstObject>> parent(gst_object_get_parent(GST_OBJECT(element)));
        // Until it starts, autoaudiosink holds a fake sink as a placeholder.
        if (parent && GST_IS_ELEMENT(parent.get()) && madeBy(GST_ELEMENT(parent.get()), "autoaudiosink")
            && GST_STATE(GST_ELEMENT(parent.get())) >= GST_STATE_READY)
            fake = true;
    });
    return fake;
}

bool MediaPipeline::holdsServerSink() const
{
    bool holds = false;
    forEachElement(m_audioSink.get(), [&holds](GstElement *element) {
        if (madeBy(element, "pulsesink") && GST_STATE(element) >= GST_STATE_READY)
            holds = true;
    });
    return holds;
}

void MediaPipeline::releaseLostOutputs()
{
    QList<MediaPipeline *> holders;
    for (MediaPipeline *p : openPipelines())
        if (!p->m_released && p->holdsServerSink())
            holders << p;
    if (holders.isEmpty() || serverConnectionAlive())
        return;
    for (MediaPipeline *p : holders) {
        GstState current = GST_STATE_NULL, pending = GST_STATE_NULL;
        gst_element_get_state(p->m_playbin.get(), &current, &pending, 0);
        const bool playing = current == GST_STATE_PLAYING || pending == GST_STATE_PLAYING;
        p->release();
        // Its owner may be the very caller, in the middle of an open.
        if (playing)
            QMetaObject::invokeMethod(p, [p] { Q_EMIT p->outputLost(); }, Qt::QueuedConnection);
    }
}

void MediaPipeline::release()
{
    if (m_shutDown || m_released)
        return;
    // What the owner shows of the media stays as it was.
    (void)position();
    (void)duration();
    m_hasVideo = hasVideo();
    m_released = true;
    (void)letGo(kReleaseWaitMs);
}

bool MediaPipeline::setPlaying(bool playing)
{
    if (m_shutDown)
        return false;
    if (m_released)
        return !playing;
    // The seek still holds the pipeline's state lock: the change waits for
    // it, as GStreamer would make it wait.
    if (m_seekInFlight) {
        m_deferredPlaying = playing;
        return true;
    }
    return gst_element_set_state(m_playbin.get(), playing ? GST_STATE_PLAYING : GST_STATE_PAUSED)
        != GST_STATE_CHANGE_FAILURE;
}

MediaPipeline::SeekResult MediaPipeline::seek(double seconds)
{
    if (m_shutDown)
        return SeekResult::NotSeekable;
    // Taken up when the media is opened afresh, when the seek before returns,
    // or when a load that is still on its way has come up: until then there
    // is nothing to seek in, and a media that loads from a stalled share
    // would only be opened again to wait once more.
    if (m_released || m_seekInFlight || !m_prerolled) {
        m_lastPosition = std::max(0.0, seconds);
        if (!m_released)
            m_deferredSeek = m_lastPosition;
        return SeekResult::Done;
    }
    // Ask first: a seek the demuxer cannot do may flush the pipeline and
    // then leave it stalled, picture, sound and position frozen.
    gsth::Query query(gst_query_new_seeking(GST_FORMAT_TIME));
    if (gst_element_query(m_playbin.get(), query.get())) {
        gboolean seekable = FALSE;
        gst_query_parse_seeking(query.get(), nullptr, &seekable, nullptr, nullptr);
        if (!seekable)
            return SeekResult::NotSeekable;
    }
    const auto target = gint64(std::llround(std::max(0.0, seconds) * kSecond));
    {
        QMutexLocker lock(&m_frameMutex);
        m_flushedSinceSeek = false;
    }
    // A flushing seek returns only once the streaming thread has let go of
    // the stream, and one stuck in a read of a stalled share does not: the
    // seek runs on a thread of its own, and past a short wait it goes on
    // there while the media counts as sought.
    auto call = std::make_shared<SeekCall>();
    call->link = m_link;
    call->target = target;
    gst_element_call_async(
        m_playbin.get(),
        [](GstElement *element, gpointer data) {
            const std::shared_ptr<SeekCall> &c = *static_cast<std::shared_ptr<SeekCall> *>(data);
            // Accurate: the knobs and the windows' stop buttons mean the exact place.
            const bool ok = gst_element_seek_simple(element, GST_FORMAT_TIME,
                                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                                    c->target);
            c->ok = ok;
            c->returned.set();
            QMutexLocker lock(&c->link->mutex);
            if (MediaPipeline *owner = c->link->owner)
                QMetaObject::invokeMethod(owner, [owner, c] { owner->seekReturned(c); }, Qt::QueuedConnection);
        },
        new std::shared_ptr<SeekCall>(call), [](gpointer data) { delete static_cast<std::shared_ptr<SeekCall> *>(data); });
    m_lastPosition = double(target) / kSecond;
    if (!call->returned.waitFor(kSeekWaitMs)) {
        m_seekInFlight = call;
        return SeekResult::Done;
    }
    if (!call->ok)
        return SeekResult::Failed;
    dropFrameOfOldPlace();
    return SeekResult::Done;
}

// A frame we still hold is of the old place and must not be shown again.
// Where the flush has reached the frame sink, onFlush dropped it there, and
// what we hold now may already be the new place's first frame: while stopped
// that preroll frame is the only one that comes.
void MediaPipeline::dropFrameOfOldPlace()
{
    QMutexLocker lock(&m_frameMutex);
    if (!m_flushedSinceSeek)
        m_frame = QImage();
}

// A seek that outlasted its wait has returned: what was asked for meanwhile
// is done now, in the order of its effect (the place, then playing or not).
void MediaPipeline::seekReturned(const std::shared_ptr<SeekCall> &call)
{
    if (call != m_seekInFlight)
        return; // its caller waited for it
    m_seekInFlight.reset();
    if (!call->ok) {
        m_deferredSeek.reset();
        m_deferredPlaying.reset();
        Q_EMIT seekRefused();
        return;
    }
    dropFrameOfOldPlace();
    if (!takeUpDeferredSeek())
        return;
    if (const std::optional<bool> playing = std::exchange(m_deferredPlaying, std::nullopt))
        (void)setPlaying(*playing);
}

// The seek that had to wait, done now; false when it was refused, after
// seekRefused(): what else had to wait is dropped then, as the owner opens
// the media afresh.
bool MediaPipeline::takeUpDeferredSeek()
{
    const std::optional<double> next = std::exchange(m_deferredSeek, std::nullopt);
    if (!next || seek(*next) != SeekResult::Failed)
        return true;
    m_deferredPlaying.reset();
    Q_EMIT seekRefused();
    return false;
}

double MediaPipeline::duration() const
{
    if (m_shutDown)
        return 0.0;
    if (m_released)
        return m_lastDuration;
    gint64 d = 0;
    if (gst_element_query_duration(m_playbin.get(), GST_FORMAT_TIME, &d) && d > 0)
        return m_lastDuration = double(d) / kSecond;
    // An MP3 without a length header has no duration until the parser has
    // seen a good part of it; until then the size over the stream's bit rate
    // is what any player shows.
    gint64 bytes = 0;
    if (!gst_element_query_duration(m_playbin.get(), GST_FORMAT_BYTES, &bytes) || bytes <= 0)
        return 0.0;
    gsth::TagList tags;
    g_signal_emit_by_name(m_playbin.get(), "get-audio-tags", 0, tags.out());
    guint bitrate = 0;
    if (tags && !gst_tag_list_get_uint(tags.get(), GST_TAG_BITRATE, &bitrate))
        gst_tag_list_get_uint(tags.get(), GST_TAG_NOMINAL_BITRATE, &bitrate);
    if (bitrate == 0)
        return 0.0;
    return m_lastDuration = double(bytes) * 8.0 / double(bitrate);
}

double MediaPipeline::position() const
{
    if (m_shutDown)
        return 0.0;
    if (m_released)
        return m_lastPosition;
    // While a flushing seek settles the query fails for a moment; the knob
    // and the time display must not jump to the start meanwhile.
    gint64 p = 0;
    if (gst_element_query_position(m_playbin.get(), GST_FORMAT_TIME, &p) && p >= 0)
        m_lastPosition = double(p) / kSecond;
    return m_lastPosition;
}

void MediaPipeline::setAmplitude(double amplitude)
{
    if (m_playbin)
        g_object_set(m_playbin.get(), "volume", amplitude, nullptr);
}

void MediaPipeline::setPanorama(double panorama)
{
    if (m_panorama)
        g_object_set(m_panorama.get(), "panorama", gfloat(std::clamp(panorama, -1.0, 1.0)), nullptr);
}

bool MediaPipeline::hasVideo() const
{
    if (m_hasVideo || m_shutDown || m_released)
        return m_hasVideo;
    // Before the first frame is drawn, the prerolled playbin already knows
    // whether the media has a picture stream.
    gint videoStreams = 0;
    g_object_get(m_playbin.get(), "n-video", &videoStreams, nullptr);
    return videoStreams > 0;
}

QImage MediaPipeline::frame(QSize *shownSize) const
{
    QMutexLocker lock(&m_frameMutex);
    if (shownSize)
        *shownSize = m_frameDisplaySize;
    return m_frame;
}

// new-sample pulls with gst_app_sink_pull_sample, new-preroll with
// gst_app_sink_pull_preroll; either frame is taken the same way.
template <GstSample *(*pull)(GstAppSink *)>
GstFlowReturn MediaPipeline::onFrame(GstElement *sink, gpointer link)
{
    gsth::Sample sample(pull(GST_APP_SINK(sink)));
    auto *l = static_cast<StreamLink *>(link);
    QMutexLocker lock(&l->mutex);
    if (sample && l->owner)
        l->owner->takeSample(sample.get());
    return GST_FLOW_OK;
}

// Streaming thread, in stream order: once a flush has passed the frame sink,
// every frame still to come is of the new place and the one held is not.
GstPadProbeReturn MediaPipeline::onFlush(GstPad *, GstPadProbeInfo *info, gpointer link)
{
    auto *l = static_cast<StreamLink *>(link);
    QMutexLocker linkLock(&l->mutex);
    if (l->owner && GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) {
        MediaPipeline *p = l->owner;
        QMutexLocker lock(&p->m_frameMutex);
        p->m_frame = QImage();
        p->m_flushedSinceSeek = true;
    }
    return GST_PAD_PROBE_OK;
}

// Streaming thread: copy the frame out and ask the GUI thread to repaint,
// at most one repaint request in flight.
void MediaPipeline::takeSample(GstSample *sample)
{
    m_hasVideo = true;
    if (!m_framesWanted)
        return;
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return;
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ))
        return;
    const int w = GST_VIDEO_FRAME_WIDTH(&frame);
    const int h = GST_VIDEO_FRAME_HEIGHT(&frame);
    const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const auto *data = static_cast<const uchar *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    QImage image = QImage(data, w, h, stride, QImage::Format_RGB32).copy();
    gst_video_frame_unmap(&frame);
    // Non-square pixels (anamorphic DVD-style video) are shown at their
    // display shape: the width scaled by the pixel aspect ratio.
    QSize shown(w, h);
    const int parN = GST_VIDEO_INFO_PAR_N(&info), parD = GST_VIDEO_INFO_PAR_D(&info);
    if (parN > 0 && parD > 0 && parN != parD)
        shown.setWidth(std::max(1, int(std::lround(double(w) * parN / parD))));
    {
        QMutexLocker lock(&m_frameMutex);
        m_frame = std::move(image);
        m_frameDisplaySize = shown;
    }
    if (!m_framePosted.exchange(true))
        QMetaObject::invokeMethod(this, [this] {
            m_framePosted = false;
            Q_EMIT frameReady();
        }, Qt::QueuedConnection);
}
