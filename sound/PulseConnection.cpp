#include "sound/PulseConnection.h"
#include "platform/AppInfo.h"
#include "platform/Log.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <QDir>
#include <QObject>

#include <algorithm>

namespace sound {

using platform::lcSound;

namespace {
// What the stream asks the server to hold. A long buffer lets the server and
// the program sleep between refills (a 23 ms one kept the server at several per
// cent of a core); it is never heard as delay, since a sound starts as soon as
// its first samples arrive. Nor is it heard after a stop or a new sound: the
// stream goes, and what it still buffers goes with it at once, because
// PulseAudio rewinds its sink over what the sink had already taken from the
// stream, and PipeWire drops the stream's buffer.
constexpr pa_usec_t BufferUsec = 2 * PA_USEC_PER_SEC;
// Refills come no smaller than this: PipeWire's PulseAudio interface would
// otherwise ask at every turn of its graph (about 50 times a second), which
// cost it and the program a third more than paplay's stream.
constexpr pa_usec_t MinRequestUsec = 250 * PA_USEC_PER_MSEC;
// The role of every stream: the music and the chimes are the toy's own sounds,
// as a game's are. A desktop keeps one volume per role: "event" is its alert
// sounds' (often silenced), and "music" its music players'.
constexpr char StreamRole[] = "game";

pa_sample_format_t SampleFormat(DecodedWave::Format format)
{
    switch (format) {
    case DecodedWave::Format::U8:
        return PA_SAMPLE_U8;
    case DecodedWave::Format::S16:
        return PA_SAMPLE_S16LE;
    case DecodedWave::Format::S32:
        return PA_SAMPLE_S32LE;
    case DecodedWave::Format::F32:
        return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_INVALID;
}

// A property list that frees itself.
struct Properties {
    pa_proplist* list = pa_proplist_new();
    Properties() = default;
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;
    ~Properties() { pa_proplist_free(list); }
    void set(const char* key, const QString& value) { pa_proplist_sets(list, key, value.toUtf8().constData()); }
};
}  // namespace

PulseConnection::PulseConnection(QObject* notices, std::function<void()> onChange)
    : m_notices(notices)
    , m_onChange(std::move(onChange))
{
}

PulseConnection::~PulseConnection()
{
    if (m_loop)
        pa_threaded_mainloop_stop(m_loop);
    dropStream();
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    if (m_loop)
        pa_threaded_mainloop_free(m_loop);
}

PulseConnection::Lock::Lock(PulseConnection& c)
    : m_loop(c.m_loop)
{
    pa_threaded_mainloop_lock(m_loop);
}

PulseConnection::Lock::~Lock()
{
    pa_threaded_mainloop_unlock(m_loop);
}

bool PulseConnection::ready() const
{
    return pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

bool PulseConnection::good() const
{
    return PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
}

QString PulseConnection::error() const
{
    return QString::fromUtf8(pa_strerror(pa_context_errno(m_context)));
}

QString PulseConnection::serverSocket() const
{
    const char* server = pa_context_get_server(m_context);
    QString address = QString::fromUtf8(server ? server : "");
    if (address.startsWith(QLatin1String("unix:")))
        address.remove(0, 5);
    return QDir::isAbsolutePath(address) ? address : QString();
}

// Waits until `done` holds or `ms` have passed on the steady clock, which a
// resume or a step of the wall clock neither stretches nor cuts.
template <typename Done>
bool PulseConnection::waitLocked(Done done, qint64 ms)
{
    struct Alarm {
        pa_threaded_mainloop* loop;
        bool rang = false;
    } alarm{m_loop};
    pa_time_event* event = pa_context_rttime_new(
        m_context, pa_rtclock_now() + pa_usec_t(ms) * PA_USEC_PER_MSEC,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
            auto* a = static_cast<Alarm*>(data);
            a->rang = true;
            pa_threaded_mainloop_signal(a->loop, 0);
        },
        &alarm);
    while (!done() && !alarm.rang)
        pa_threaded_mainloop_wait(m_loop);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
    api->time_free(event);
    return done();
}

bool PulseConnection::start(QString* why)
{
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) {
        *why = QStringLiteral("no main loop");
        return false;
    }
    Properties application;
    application.set(PA_PROP_APPLICATION_NAME, platform::AppTitle);
    application.set(PA_PROP_APPLICATION_ID, QString::fromLatin1(platform::AppId));
    application.set(PA_PROP_APPLICATION_ICON_NAME, QString::fromLatin1(platform::AppIconName));
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), nullptr, application.list);
    if (!m_context) {
        *why = QStringLiteral("no context");
        return false;
    }
    pa_context_set_state_callback(
        m_context,
        [](pa_context* c, void* data) {
            auto* self = static_cast<PulseConnection*>(data);
            const pa_context_state_t s = pa_context_get_state(c);
            self->m_wasReady = self->m_wasReady || s == PA_CONTEXT_READY;
            pa_threaded_mainloop_signal(self->m_loop, 0);
            if ((s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s)) && self->m_notices)
                QMetaObject::invokeMethod(self->m_notices, self->m_onChange, Qt::QueuedConnection);
        },
        this);
    // Only a server that is there: never start one of our own.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        || pa_threaded_mainloop_start(m_loop) < 0) {
        *why = error();
        return false;
    }
    return true;
}

bool PulseConnection::waitReady(qint64 ms, QString* why)
{
    const Lock lock(*this);
    waitLocked([this] { return ready() || !good(); }, ms);
    if (ready())
        return true;
    *why = good() ? QStringLiteral("no answer in %1 ms").arg(ms) : error();
    return false;
}

void PulseConnection::dropStream()
{
    if (m_drain) {
        // Its answer, which a stalled server may give long after, is for a
        // sound that is no longer playing: it must never reach the next one.
        pa_operation_cancel(m_drain);
        pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    if (!m_stream)
        return;
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    if (pa_stream_get_state(m_stream) == PA_STREAM_CREATING) {
        // The server has not answered yet: the stream it makes goes too.
        pa_stream_set_state_callback(
            m_stream,
            [](pa_stream* s, void*) {
                if (pa_stream_get_state(s) == PA_STREAM_READY)
                    pa_stream_disconnect(s);
            },
            nullptr);
    } else {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
    }
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

// The server asks for `bytes` more: it gets them from memory, the loop
// starting over at its end; a sound played once is drained after its end.
void PulseConnection::feed(std::size_t bytes)
{
    while (bytes > 0) {
        if (m_sent == m_samples.size()) {
            if (!m_looping || m_samples.isEmpty()) {
                m_drain = pa_stream_drain(
                    m_stream,
                    [](pa_stream*, int success, void* data) {
                        auto* self = static_cast<PulseConnection*>(data);
                        self->m_playedOut = self->m_playedOut || success;
                        pa_threaded_mainloop_signal(self->m_loop, 0);
                    },
                    this);
                pa_stream_set_write_callback(m_stream, nullptr, nullptr);
                return;
            }
            m_sent = 0;
        }
        const std::size_t n = std::min<std::size_t>(bytes, std::size_t(m_samples.size() - m_sent));
        if (pa_stream_write(m_stream, m_samples.constData() + m_sent, n, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        m_sent += qsizetype(n);
        bytes -= n;
    }
}

bool PulseConnection::play(DecodedWave wave, bool loopIt, const QString& name, const QString& path, qint64* lengthMs)
{
    const pa_sample_spec sampleSpec{SampleFormat(wave.format), std::uint32_t(wave.rate), std::uint8_t(wave.channels)};
    if (wave.rate <= 0 || wave.channels <= 0 || wave.channels > int(PA_CHANNELS_MAX)
        || !pa_sample_spec_valid(&sampleSpec)) {
        qCDebug(lcSound, "no sound from %s: the server cannot take %d Hz in %d channels", qUtf8Printable(path),
                wave.rate, wave.channels);
        return false;
    }
    *lengthMs = qint64(pa_bytes_to_usec(std::uint64_t(wave.samples.size()), &sampleSpec) / PA_USEC_PER_MSEC);
    pa_channel_map map;
    const bool mapped = pa_channel_map_init_auto(&map, sampleSpec.channels, PA_CHANNEL_MAP_WAVEEX) != nullptr;
    Properties media;
    media.set(PA_PROP_MEDIA_ROLE, QString::fromLatin1(StreamRole));
    m_stream = pa_stream_new_with_proplist(m_context, name.toUtf8().constData(), &sampleSpec, mapped ? &map : nullptr,
                                           media.list);
    if (!m_stream) {
        qCDebug(lcSound, "no stream for %s: %s", qUtf8Printable(path), qUtf8Printable(error()));
        return false;
    }
    m_samples = std::move(wave.samples);
    m_sent = 0;
    m_looping = loopIt;
    m_playedOut = false;
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(pa_usec_to_bytes(BufferUsec, &sampleSpec));
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(pa_usec_to_bytes(MinRequestUsec, &sampleSpec));
    attr.fragsize = std::uint32_t(-1);
    pa_stream_set_state_callback(
        m_stream,
        [](pa_stream*, void* data) { pa_threaded_mainloop_signal(static_cast<PulseConnection*>(data)->m_loop, 0); },
        this);
    pa_stream_set_write_callback(
        m_stream, [](pa_stream*, std::size_t bytes, void* data) { static_cast<PulseConnection*>(data)->feed(bytes); },
        this);
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
        qCDebug(lcSound, "%s did not play: %s", qUtf8Printable(path), qUtf8Printable(error()));
        dropStream();
        return false;
    }
    const bool ready = waitLocked(
        [this] {
            const pa_stream_state_t s = pa_stream_get_state(m_stream);
            return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
        },
        ServerAnswerMs);
    if (!ready || pa_stream_get_state(m_stream) != PA_STREAM_READY) {
        qCDebug(lcSound, "%s did not play: %s", qUtf8Printable(path), qUtf8Printable(error()));
        dropStream();
        return false;
    }
    return true;
}

void PulseConnection::waitUntilPlayedOut(qint64 lengthMs)
{
    const qint64 limitMs = lengthMs + qint64(BufferUsec / PA_USEC_PER_MSEC) + PlayWaitSlackMs;
    if (!waitLocked([this] { return m_playedOut || !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)); }, limitMs))
        qCDebug(lcSound, "the server did not finish the sound in %lld ms", static_cast<long long>(limitMs));
}

}  // namespace sound
