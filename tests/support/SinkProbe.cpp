#include "SinkProbe.h"

#include <QDeadlineTimer>
#include <QTest>

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <cmath>

SinkProbe::SinkProbe()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // The fakesink type exists once its plug-in is loaded.
    GstElement *probe = gst_element_factory_make("fakesink", nullptr);
    const GType type = G_OBJECT_TYPE(probe);
    gst_object_unref(gst_object_ref_sink(probe));
    m_signal = g_signal_lookup("handoff", type);
    m_hook = g_signal_add_emission_hook(
        m_signal, 0,
        [](GSignalInvocationHint *, guint n, const GValue *values, gpointer self) -> gboolean {
            if (n >= 3)
                static_cast<SinkProbe *>(self)->take(g_value_get_boxed(&values[1]),
                                                     g_value_get_object(&values[2]));
            return TRUE;
        },
        this, nullptr);
}

SinkProbe::~SinkProbe()
{
    if (m_hook)
        g_signal_remove_emission_hook(m_signal, m_hook);
}

QString SinkProbe::sinkDescription()
{
    return QStringLiteral("fakesink sync=true signal-handoffs=true");
}

void SinkProbe::reset()
{
    std::lock_guard lock(m_mutex);
    m_buffers = 0;
    m_sumL = m_sumR = 0;
    m_frames = 0;
    m_clipped = 0;
    m_first = {};
}

bool SinkProbe::waitUntilHeard(long count, int timeoutMs, const std::function<bool()> &holds)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        reset();
        // Each stretch is heard to its end, so a failure reports the last one.
        if (!QTest::qWaitFor([&] { return buffers() >= count; }, timeoutMs))
            return false; // the sound has stopped
        if (holds())
            return true;
    } while (!deadline.hasExpired());
    return false;
}

long SinkProbe::buffers() const
{
    std::lock_guard lock(m_mutex);
    return m_buffers;
}

double SinkProbe::rmsLeft() const
{
    std::lock_guard lock(m_mutex);
    return m_frames ? std::sqrt(m_sumL / double(m_frames)) : 0.0;
}

double SinkProbe::rmsRight() const
{
    std::lock_guard lock(m_mutex);
    return m_frames ? std::sqrt(m_sumR / double(m_frames)) : 0.0;
}

long long SinkProbe::clippedSamples() const
{
    std::lock_guard lock(m_mutex);
    return m_clipped;
}

std::chrono::steady_clock::time_point SinkProbe::firstBufferAt() const
{
    std::lock_guard lock(m_mutex);
    return m_first;
}

namespace {
// The largest 16-bit sample as a fraction: a float sample at or over it
// would be clipped on its way to the sound card.
constexpr double kFullScale = 32767.0 / 32768.0;
} // namespace

// Streaming thread.
void SinkProbe::take(void *buf, void *padPtr)
{
    const auto now = std::chrono::steady_clock::now();
    auto *buffer = static_cast<GstBuffer *>(buf);
    auto *pad = static_cast<GstPad *>(padPtr);
    double sumL = 0, sumR = 0;
    long long frames = 0;
    long long clipped = 0;
    GstCaps *caps = pad ? gst_pad_get_current_caps(pad) : nullptr;
    GstAudioInfo info;
    if (caps && gst_audio_info_from_caps(&info, caps) && GST_AUDIO_INFO_CHANNELS(&info) == 2) {
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const GstAudioFormat fmt = GST_AUDIO_INFO_FORMAT(&info);
            if (fmt == GST_AUDIO_FORMAT_F32) {
                const auto *s = reinterpret_cast<const float *>(map.data);
                frames = map.size / (2 * sizeof(float));
                for (long long i = 0; i < frames; ++i) {
                    sumL += double(s[2 * i]) * s[2 * i];
                    sumR += double(s[2 * i + 1]) * s[2 * i + 1];
                    clipped += (std::abs(s[2 * i]) >= kFullScale) + (std::abs(s[2 * i + 1]) >= kFullScale);
                }
            } else if (fmt == GST_AUDIO_FORMAT_S16) {
                const auto *s = reinterpret_cast<const gint16 *>(map.data);
                frames = map.size / (2 * sizeof(gint16));
                for (long long i = 0; i < frames; ++i) {
                    const double l = s[2 * i] / 32768.0, r = s[2 * i + 1] / 32768.0;
                    sumL += l * l;
                    sumR += r * r;
                    clipped += (std::abs(l) >= kFullScale) + (std::abs(r) >= kFullScale);
                }
            }
            gst_buffer_unmap(buffer, &map);
        }
    }
    if (caps)
        gst_caps_unref(caps);
    std::lock_guard lock(m_mutex);
    if (m_buffers++ == 0)
        m_first = now;
    m_sumL += sumL;
    m_sumR += sumR;
    m_frames += frames;
    m_clipped += clipped;
}
