#pragma once
// Watches what reaches the fake audio sink of every media control in the
// process, so tests can check what would be heard (level per channel) and
// benchmarks when the first buffer arrives. Needs the control's audio sink
// to be SinkProbe::sinkDescription(), whose fakesink signals each buffer.
#include <QString>

#include <chrono>
#include <functional>
#include <mutex>

class SinkProbe {
public:
    SinkProbe();  // starts listening
    ~SinkProbe(); // stops
    SinkProbe(const SinkProbe &) = delete;
    SinkProbe &operator=(const SinkProbe &) = delete;

    // "fakesink sync=true signal-handoffs=true": timed, silent, observable.
    static QString sinkDescription();

    void reset();
    // Measures fresh stretches of `count` buffers, one after another, until
    // `holds` is true of one (true), or none has held after timeoutMs, or the
    // sound stops (false); the last stretch's levels are left to read. Sound
    // queued before a change thus drains without a fixed sleep: a stretch
    // that still carries some of it fails `holds`, and the next is judged.
    // A stretch begun before the time is up is heard to its end, so this may
    // take up to twice timeoutMs. (Not for QTRY_*: those count their timeout
    // in steps, not in the time a slow condition takes.)
    bool waitUntilHeard(long count, int timeoutMs, const std::function<bool()> &holds);
    long buffers() const;
    // Root mean square of each channel over the samples seen since reset(),
    // full scale 1.0; 0 when nothing arrived.
    double rmsLeft() const;
    double rmsRight() const;
    // Samples of either channel at full scale (the clip level) since reset().
    long long clippedSamples() const;
    // When the first buffer since reset() arrived (steady clock).
    std::chrono::steady_clock::time_point firstBufferAt() const;

private:
    void take(void *buffer, void *pad);

    mutable std::mutex m_mutex;
    long m_buffers = 0;
    double m_sumL = 0, m_sumR = 0;
    long long m_frames = 0;
    long long m_clipped = 0;
    std::chrono::steady_clock::time_point m_first{};
    unsigned m_signal = 0;
    unsigned long m_hook = 0;
};
