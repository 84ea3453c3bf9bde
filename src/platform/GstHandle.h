#pragma once
// Small owners for GStreamer and GObject references, so that every object the
// media control holds is released exactly once, in one place.
#include <gst/gst.h>

#include <utility>

namespace gsth {

template <typename T>
inline void objectUnref(T *p) { gst_object_unref(p); }
inline void messageUnref(GstMessage *m) { gst_message_unref(m); }
inline void sampleUnref(GstSample *s) { gst_sample_unref(s); }
inline void capsUnref(GstCaps *c) { gst_caps_unref(c); }
inline void tagListUnref(GstTagList *t) { gst_tag_list_unref(t); }
inline void queryUnref(GstQuery *q) { gst_query_unref(q); }
inline void errorFree(GError *e) { g_error_free(e); }
inline void charFree(gchar *s) { g_free(s); }

// Owns one reference of T and gives it back through Free when it goes.
// Construction adopts a reference the caller already holds (a "transfer
// full" return value); refSink() owns a freshly made, floating element.
template <typename T, void (*Free)(T *)>
class Handle {
public:
    Handle() = default;
    explicit Handle(T *p) : m_p(p) {}
    ~Handle() { reset(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    Handle(Handle &&o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    Handle &operator=(Handle &&o) noexcept
    {
        if (this != &o)
            reset(std::exchange(o.m_p, nullptr));
        return *this;
    }

    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T *release() { return std::exchange(m_p, nullptr); }
    void reset(T *p = nullptr)
    {
        if (T *old = std::exchange(m_p, p))
            Free(old);
    }
    // Where a C API wants a T** to fill in (GError **).
    T **out()
    {
        reset();
        return &m_p;
    }

private:
    T *m_p = nullptr;
};

using Element = Handle<GstElement, objectUnref<GstElement>>;
using Bus = Handle<GstBus, objectUnref<GstBus>>;
using Pad = Handle<GstPad, objectUnref<GstPad>>;
using Message = Handle<GstMessage, messageUnref>;
using Sample = Handle<GstSample, sampleUnref>;
using Caps = Handle<GstCaps, capsUnref>;
using TagList = Handle<GstTagList, tagListUnref>;
using Query = Handle<GstQuery, queryUnref>;
using GErrorPtr = Handle<GError, errorFree>;
using GChars = Handle<gchar, charFree>;

// A new element owned outright: sinks the floating reference, so it stays
// ours even after a bin or playbin property takes its own reference.
inline Element refSink(GstElement *e)
{
    return Element(e ? GST_ELEMENT(gst_object_ref_sink(e)) : nullptr);
}

// One GObject signal connection, disconnected when the owner goes. Holds a
// reference on the instance so the disconnect never touches freed memory.
class SignalConnection {
public:
    SignalConnection() = default;
    SignalConnection(gpointer instance, const char *signal, GCallback callback, gpointer data)
    {
        if (!instance)
            return;
        m_id = g_signal_connect(instance, signal, callback, data);
        if (m_id)
            m_instance = G_OBJECT(g_object_ref(instance));
    }
    ~SignalConnection() { disconnect(); }
    SignalConnection(const SignalConnection &) = delete;
    SignalConnection &operator=(const SignalConnection &) = delete;
    SignalConnection(SignalConnection &&o) noexcept
        : m_instance(std::exchange(o.m_instance, nullptr)), m_id(std::exchange(o.m_id, 0)) {}
    SignalConnection &operator=(SignalConnection &&o) noexcept
    {
        if (this != &o) {
            disconnect();
            m_instance = std::exchange(o.m_instance, nullptr);
            m_id = std::exchange(o.m_id, 0);
        }
        return *this;
    }
    void disconnect()
    {
        if (m_instance) {
            if (m_id)
                g_signal_handler_disconnect(m_instance, m_id);
            g_object_unref(m_instance);
        }
        m_instance = nullptr;
        m_id = 0;
    }
    bool isConnected() const { return m_id != 0; }

private:
    GObject *m_instance = nullptr;
    gulong m_id = 0;
};

} // namespace gsth
