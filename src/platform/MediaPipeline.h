#pragma once
// One opened media: a playbin with our audio sink, the balance filter and an
// appsink for video frames, plus the watch on its bus. The media control makes
// one per FileName write and disposes of it when the media closes, so messages
// of a replaced media can never reach the control.
#include "Error.h"
#include "GstHandle.h"

#include <gst/app/gstappsink.h>

#include <QImage>
#include <QMutex>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

class QSocketNotifier;

class MediaPipeline : public QObject {
    Q_OBJECT
public:
    // Initialises GStreamer on first use; cheap afterwards.
    static void ensureGstreamer();

    // Builds the pipeline for uri (file:// or cdda://) with the given
    // loudness and balance from its first sample, and prerolls it, waiting at
    // most prerollMs. Pictures are converted and kept for painting only when
    // showVideo. On failure returns nullptr and fills in error.
    // An audio sink that autoaudiosink had to replace by a fake one (no
    // sound output anywhere) is such a failure: "No sound output is available".
    static MediaPipeline *open(const QString &uri, const QString &audioSinkDescription, bool showVideo,
                               double amplitude, double panorama, int prerollMs, Error *error);
    // Every open pipeline that still holds a connection to a sound server
    // that has gone away lets go of it (see release()), so that what is
    // opened or resumed next reaches the server that runs now. Those that
    // were playing report outputLost() once back in the event loop.
    static void releaseLostOutputs();
    // Cuts the pipeline off from its owner at once and frees it; safe to
    // call from a slot of one of this pipeline's own signals. Its GStreamer
    // side is taken down on a thread of its own: a streaming thread stuck in
    // a read of a stalled share would hold the caller up for as long as the
    // read hangs.
    static void dispose(MediaPipeline *pipeline);

    ~MediaPipeline() override;

    // False while a load that outlasted open()'s wait has not come up yet
    // (asyncDone follows when it does).
    bool prerolled() const { return m_prerolled; }

    bool setPlaying(bool playing); // PLAYING, or PAUSED (also used for stop)

    // Gives back the sound output, while the position, length and last
    // picture stay readable and a seek is only noted. Such a pipeline cannot
    // play again: its owner opens the media afresh. Waits a little for the
    // output to be given back, so that what opens next does not meet it.
    void release();
    bool released() const { return m_released; }
    enum class SeekResult { Done, NotSeekable, Failed };
    // A flushing seek. NotSeekable: the media says it cannot seek, and
    // nothing was touched. Failed: the seek was tried and refused, and some
    // demuxers leave the pipeline flushed and stalled after that. A seek
    // that takes longer than a moment (its media stalled in a read) goes on
    // by itself and counts as Done; seeks and play state changes asked for
    // meanwhile follow when it returns, and seekRefused() if it failed. A
    // seek asked for while a late load is on its way is Done once it comes up.
    SeekResult seek(double seconds);
    double duration() const;       // seconds, 0 when unknown
    double position() const;       // seconds, 0 when unknown
    void setAmplitude(double amplitude);
    void setPanorama(double panorama); // -1 .. 1

    bool hasVideo() const;
    // The latest video frame, null when none. shownSize, when given, gets
    // the size it is shown at: its pixels widened or narrowed by their
    // aspect ratio (a 720x576 frame of a 16:9 film shows as 1024x576).
    QImage frame(QSize *shownSize = nullptr) const;
    void setFramesWanted(bool wanted) { m_framesWanted = wanted; }

Q_SIGNALS:
    void endOfStream();
    void failed(const QString &description);
    // The sound output went away while playing; the pipeline has released
    // itself.
    void outputLost();
    void durationChanged();
    void asyncDone();
    // A seek that went on by itself was refused after all (see seek()).
    void seekRefused();
    void frameReady();

private:
    MediaPipeline();
    bool build(const QString &uri, const QString &audioSinkDescription, bool showVideo, Error *error);
    void drainBus();
    bool fellBackToFakeSink() const;
    bool holdsServerSink() const;
    void handle(GstMessage *message);
    void shutdown();
    // Hands the GStreamer side to a thread that takes it to NULL and frees
    // it; true when that was done within waitMs.
    bool letGo(int waitMs);
    struct StreamLink;
    struct Remains;
    struct SeekCall;
    void seekReturned(const std::shared_ptr<SeekCall> &call);
    bool takeUpDeferredSeek();
    void dropFrameOfOldPlace();
    template <GstSample *(*pull)(GstAppSink *)>
    static GstFlowReturn onFrame(GstElement *sink, gpointer link);
    void takeSample(GstSample *sample);
    static GstPadProbeReturn onFlush(GstPad *pad, GstPadProbeInfo *info, gpointer link);

    gsth::Element m_playbin;
    gsth::Element m_videoSink;
    gsth::Element m_panorama;
    gsth::Element m_audioSink;
    gsth::Bus m_bus;
    QSocketNotifier *m_notifier = nullptr; // child of this
    gsth::SignalConnection m_sampleConnection;
    gsth::SignalConnection m_prerollConnection;
    gsth::SignalConnection m_sinkConnection; // sets up the real audio sink once it exists
    // What the streaming threads reach of us; cut, and handed over with the
    // GStreamer side, when we let go.
    std::shared_ptr<StreamLink> m_link;
    // A seek that outlasted seek()'s wait, and what was asked for since.
    std::shared_ptr<SeekCall> m_seekInFlight;
    std::optional<double> m_deferredSeek;
    std::optional<bool> m_deferredPlaying;
    int m_draining = 0;
    bool m_shutDown = false;
    bool m_prerolled = true;
    bool m_released = false;

    mutable QMutex m_frameMutex;
    QImage m_frame;
    QSize m_frameDisplaySize;
    bool m_flushedSinceSeek = false; // the frame sink has seen the last seek's flush
    std::atomic<bool> m_framesWanted{true};
    std::atomic<bool> m_framePosted{false};
    std::atomic<bool> m_hasVideo{false};
    mutable double m_lastPosition = 0.0; // last position the pipeline reported or was sought to
    mutable double m_lastDuration = 0.0;
};
