#include "sound/PulseSound.h"
#include "platform/AppInfo.h"
#include "platform/Log.h"
#include "sound/Wave.h"

#include <pulse/pulseaudio.h>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>

namespace sound {

using platform::lcSound;
using platform::SND_ASYNC;
using platform::SND_LOOP;

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
// How long to wait for the server to answer a connection or a new stream.
constexpr int AnswerMs = 2000;
// After a change in the watched folder, how often and how far apart to try the
// server there again while it does not answer yet.
constexpr int ReturnTries = 8;
constexpr int ReturnRetryMs = 250;
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

// The Unix socket a server address names, or nothing for any other kind.
QString SocketPath(const char* server)
{
    QString address = QString::fromUtf8(server ? server : "");
    if (address.startsWith(QLatin1String("unix:")))
        address.remove(0, 5);
    return QDir::isAbsolutePath(address) ? address : QString();
}
}  // namespace

// One connection to the server and the stream now playing. The server's
// callbacks run on the connection's own thread, with its lock held; the
// program's thread takes the same lock for everything it touches here.
struct PulseSoundService::Connection {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    // Called on the program's thread whenever the connection is made or lost.
    QObject* notices = nullptr;
    std::function<void()> onChange;
    bool wasReady = false;

    // What the stream plays, how far the server has taken it, and the drain
    // asked for once it has all of a sound played once.
    QByteArray samples;
    qsizetype sent = 0;
    bool looping = false;
    bool playedOut = false;
    pa_operation* drain = nullptr;

    ~Connection()
    {
        if (loop)
            pa_threaded_mainloop_stop(loop);
        dropStream();
        if (context) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        if (loop)
            pa_threaded_mainloop_free(loop);
    }

    struct Lock {
        pa_threaded_mainloop* loop;
        explicit Lock(pa_threaded_mainloop* l)
            : loop(l)
        {
            pa_threaded_mainloop_lock(loop);
        }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        ~Lock() { pa_threaded_mainloop_unlock(loop); }
    };

    // With the lock held, as everything below unless it says otherwise.
    pa_context_state_t state() const { return pa_context_get_state(context); }
    QString error() const { return QString::fromUtf8(pa_strerror(pa_context_errno(context))); }

    // Waits until `done` holds or `ms` have passed.
    template <typename Done>
    bool waitLocked(Done done, qint64 ms)
    {
        struct Alarm {
            pa_threaded_mainloop* loop;
            bool rang = false;
        } alarm{loop};
        timeval when{};
        pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(ms) * PA_USEC_PER_MSEC);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop);
        pa_time_event* event = api->time_new(
            api, &when,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
                auto* a = static_cast<Alarm*>(data);
                a->rang = true;
                pa_threaded_mainloop_signal(a->loop, 0);
            },
            &alarm);
        while (!done() && !alarm.rang)
            pa_threaded_mainloop_wait(loop);
        api->time_free(event);
        return done();
    }

    // Without the lock: starts connecting on the connection's own thread, and
    // returns without waiting for the server's answer. False when not even
    // that could be done, with the reason in `why`.
    bool start(QString* why)
    {
        loop = pa_threaded_mainloop_new();
        if (!loop) {
            *why = QStringLiteral("no main loop");
            return false;
        }
        Properties application;
        application.set(PA_PROP_APPLICATION_NAME, platform::AppTitle);
        application.set(PA_PROP_APPLICATION_ID, QString::fromLatin1(platform::AppId));
        application.set(PA_PROP_APPLICATION_ICON_NAME, QString::fromLatin1(platform::AppIconName));
        context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), nullptr, application.list);
        if (!context) {
            *why = QStringLiteral("no context");
            return false;
        }
        pa_context_set_state_callback(
            context,
            [](pa_context* c, void* data) {
                auto* self = static_cast<Connection*>(data);
                const pa_context_state_t s = pa_context_get_state(c);
                self->wasReady = self->wasReady || s == PA_CONTEXT_READY;
                pa_threaded_mainloop_signal(self->loop, 0);
                if ((s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s)) && self->notices)
                    QMetaObject::invokeMethod(self->notices, self->onChange, Qt::QueuedConnection);
            },
            this);
        // Only a server that is there: never start one of our own.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
            || pa_threaded_mainloop_start(loop) < 0) {
            *why = error();
            return false;
        }
        return true;
    }

    // Without the lock: waits up to `ms` for the server's answer.
    bool waitReady(qint64 ms, QString* why)
    {
        const Lock lock(loop);
        waitLocked([this] { return state() == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state()); }, ms);
        if (state() == PA_CONTEXT_READY)
            return true;
        *why = PA_CONTEXT_IS_GOOD(state()) ? QStringLiteral("no answer in %1 ms").arg(ms) : error();
        return false;
    }

    // The stream goes, and whatever it still buffers with it.
    void dropStream()
    {
        if (drain) {
            // Its answer, which a stalled server may give long after, is for a
            // sound that is no longer playing.
            pa_operation_cancel(drain);
            pa_operation_unref(drain);
            drain = nullptr;
        }
        if (!stream)
            return;
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        if (pa_stream_get_state(stream) == PA_STREAM_CREATING) {
            // The server has not answered yet: the stream it makes goes too.
            pa_stream_set_state_callback(
                stream,
                [](pa_stream* s, void*) {
                    if (pa_stream_get_state(s) == PA_STREAM_READY)
                        pa_stream_disconnect(s);
                },
                nullptr);
        } else {
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            pa_stream_disconnect(stream);
        }
        pa_stream_unref(stream);
        stream = nullptr;
    }

    // The server asks for `bytes` more: it gets them from memory, the loop
    // starting over at its end; a sound played once is drained after its end.
    void feed(std::size_t bytes)
    {
        while (bytes > 0) {
            if (sent == samples.size()) {
                if (!looping || samples.isEmpty()) {
                    drain = pa_stream_drain(
                        stream,
                        [](pa_stream* s, int success, void* data) {
                            auto* self = static_cast<Connection*>(data);
                            if (s == self->stream && success)
                                self->playedOut = true;
                            pa_threaded_mainloop_signal(self->loop, 0);
                        },
                        this);
                    pa_stream_set_write_callback(stream, nullptr, nullptr);
                    return;
                }
                sent = 0;
            }
            const std::size_t n = std::min<std::size_t>(bytes, std::size_t(samples.size() - sent));
            if (pa_stream_write(stream, samples.constData() + sent, n, nullptr, 0, PA_SEEK_RELATIVE) < 0)
                return;
            sent += qsizetype(n);
            bytes -= n;
        }
    }

    // A new stream for `wave`, called `name`, fed by the server's requests.
    bool play(DecodedWave wave, bool loopIt, const QString& name, const QString& path)
    {
        const pa_sample_spec spec{SampleFormat(wave.format), std::uint32_t(wave.rate), std::uint8_t(wave.channels)};
        if (wave.rate <= 0 || wave.channels <= 0 || wave.channels > int(PA_CHANNELS_MAX)
            || !pa_sample_spec_valid(&spec)) {
            qCDebug(lcSound, "no sound from %s: the server cannot take %d Hz in %d channels", qUtf8Printable(path),
                    wave.rate, wave.channels);
            return false;
        }
        pa_channel_map map;
        const bool mapped = pa_channel_map_init_auto(&map, spec.channels, PA_CHANNEL_MAP_WAVEEX) != nullptr;
        Properties media;
        media.set(PA_PROP_MEDIA_ROLE, QString::fromLatin1(StreamRole));
        stream =
            pa_stream_new_with_proplist(context, name.toUtf8().constData(), &spec, mapped ? &map : nullptr, media.list);
        if (!stream) {
            qCDebug(lcSound, "no stream for %s: %s", qUtf8Printable(path), qUtf8Printable(error()));
            return false;
        }
        samples = std::move(wave.samples);
        sent = 0;
        looping = loopIt;
        playedOut = false;
        pa_buffer_attr attr;
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = std::uint32_t(pa_usec_to_bytes(BufferUsec, &spec));
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = std::uint32_t(pa_usec_to_bytes(MinRequestUsec, &spec));
        attr.fragsize = std::uint32_t(-1);
        pa_stream_set_state_callback(
            stream,
            [](pa_stream*, void* data) { pa_threaded_mainloop_signal(static_cast<Connection*>(data)->loop, 0); }, this);
        pa_stream_set_write_callback(
            stream, [](pa_stream*, std::size_t bytes, void* data) { static_cast<Connection*>(data)->feed(bytes); },
            this);
        if (pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
            qCDebug(lcSound, "%s did not play: %s", qUtf8Printable(path), qUtf8Printable(error()));
            dropStream();
            return false;
        }
        const bool ready = waitLocked(
            [this] {
                const pa_stream_state_t s = pa_stream_get_state(stream);
                return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
            },
            AnswerMs);
        if (!ready || pa_stream_get_state(stream) != PA_STREAM_READY) {
            qCDebug(lcSound, "%s did not play: %s", qUtf8Printable(path), qUtf8Printable(error()));
            dropStream();
            return false;
        }
        return true;
    }

    // Until the server reports the sound played out, the stream fails, or the
    // sound, the buffer the stream asked for and a bound have passed.
    void waitUntilPlayedOut(qint64 lengthMs)
    {
        const qint64 limitMs = lengthMs + qint64(BufferUsec / PA_USEC_PER_MSEC) + PlayWaitSlackMs;
        if (!waitLocked([this] { return playedOut || !PA_STREAM_IS_GOOD(pa_stream_get_state(stream)); }, limitMs))
            qCDebug(lcSound, "the server did not finish the sound in %lld ms", static_cast<long long>(limitMs));
    }
};

PulseSoundService::PulseSoundService()
    : m_retry(std::make_unique<QTimer>())
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(ReturnRetryMs);
    QObject::connect(m_retry.get(), &QTimer::timeout, &m_notices, [this] { tryReturn(false); });
}

PulseSoundService::~PulseSoundService() = default;

void PulseSoundService::setOnReturn(std::function<void()> back)
{
    m_onReturn = std::move(back);
}

void PulseSoundService::setWaitedSoundName(const QString& name)
{
    m_waitedName = name;
}

std::unique_ptr<PulseSoundService::Connection> PulseSoundService::newConnection()
{
    auto connection = std::make_unique<Connection>();
    connection->notices = &m_notices;
    connection->onChange = [this] { connectionChanged(); };
    return connection;
}

// On the program's thread, after the connection was made or lost.
void PulseSoundService::connectionChanged()
{
    letGoIfLost();
    if (!m_connection || !m_returning)
        return;
    bool ready = false;
    {
        const Connection::Lock lock(m_connection->loop);
        ready = m_connection->state() == PA_CONTEXT_READY;
    }
    if (!ready)
        return;
    m_returning = false;
    adoptServer();
    qCDebug(lcSound, "the sound server is back");
    if (m_onReturn)
        m_onReturn();
}

// The server going away lets the connection go at once, so that nothing is
// left waiting on a dead socket, and the service watches for the server's return.
void PulseSoundService::letGoIfLost()
{
    if (!m_connection)
        return;
    bool good = false;
    bool wasReady = false;
    QString why;
    {
        const Connection::Lock lock(m_connection->loop);
        good = PA_CONTEXT_IS_GOOD(m_connection->state());
        wasReady = m_connection->wasReady;
        why = m_connection->error();
    }
    if (good)
        return;
    m_connection.reset();
    if (wasReady) {
        qCDebug(lcSound, "the sound server went away: %s", qUtf8Printable(why));
        watchForReturn();
    } else if (m_returning) {
        m_returning = false;
        retryLater();
    }
}

// Once connected: the server's socket is what to watch should it go away.
void PulseSoundService::adoptServer()
{
    m_watch.reset();
    m_retry->stop();
    m_retriesLeft = 0;
    const Connection::Lock lock(m_connection->loop);
    m_socket = SocketPath(pa_context_get_server(m_connection->context));
}

void PulseSoundService::watchForReturn()
{
    if (m_socket.isEmpty()) {
        qCDebug(lcSound, "the server's return cannot be watched: it was not reached through a local socket");
        return;
    }
    if (!m_watch) {
        m_watch = std::make_unique<QFileSystemWatcher>();
        QObject::connect(m_watch.get(), &QFileSystemWatcher::directoryChanged, &m_notices, [this] { tryReturn(true); });
        if (!m_watch->addPath(QFileInfo(m_socket).absolutePath())) {
            qCDebug(lcSound,
                    "the folder of %s cannot be watched: the server is looked for with the next sound asked for",
                    qUtf8Printable(m_socket));
            m_watch.reset();
            return;
        }
    }
    // The server may be back already, before the watch began.
    tryReturn(false);
}

// Connects to the server in the background if its socket is there: the answer
// comes to connectionChanged(). A socket left behind by a server that died is
// refused at once, and so is one that is not listened on yet.
void PulseSoundService::tryReturn(bool afterChange)
{
    if (afterChange)
        m_retriesLeft = ReturnTries;
    if (m_connection || !m_watch)
        return;
    if (QFileInfo::exists(m_socket)) {
        auto connection = newConnection();
        QString why;
        if (connection->start(&why)) {
            m_connection = std::move(connection);
            m_returning = true;
            return;
        }
    }
    retryLater();
}

void PulseSoundService::retryLater()
{
    if (m_retriesLeft > 0) {
        --m_retriesLeft;
        m_retry->start();
    }
}

bool PulseSoundService::reachable()
{
    letGoIfLost();
    QString why;
    // A connection made here, or one the watch was making, is to a server that
    // may listen somewhere new.
    bool fresh = m_returning;
    if (!m_connection) {
        fresh = true;
        auto connection = newConnection();
        if (!connection->start(&why)) {
            qCDebug(lcSound, "no sound server: %s", qUtf8Printable(why));
            return false;
        }
        m_connection = std::move(connection);
    }
    if (!m_connection->waitReady(AnswerMs, &why)) {
        qCDebug(lcSound, "no sound server: %s", qUtf8Printable(why));
        m_connection.reset();
        m_returning = false;
        return false;
    }
    // A connection the watch was making serves the request itself, which
    // replaces whatever was playing before the server went.
    m_returning = false;
    if (fresh)
        adoptServer();
    return true;
}

void PulseSoundService::sndPlaySound(const std::optional<QString>& name, std::uint32_t flags)
{
    // The file is read and decoded before anything waits on the server.
    std::optional<DecodedWave> wave;
    QString path;
    if (name) {
        const WaveLoad file = ReadWaveFile(*name);
        path = file.path;
        QString why;
        if (!file.ok())
            why = QLatin1String(file.status == WaveStatus::TooLarge ? "file too large" : "no such file");
        else
            wave = DecodeWave(file.value, &why);
        if (!wave)
            qCDebug(lcSound, "no sound from %s: %s", qUtf8Printable(path), qUtf8Printable(why));
    }
    if (!reachable())
        return;
    Connection& c = *m_connection;
    const Connection::Lock lock(c.loop);
    c.dropStream();
    if (!wave)
        return;
    const pa_sample_spec spec{SampleFormat(wave->format), std::uint32_t(std::max(wave->rate, 1)),
                              std::uint8_t(std::clamp(wave->channels, 1, int(PA_CHANNELS_MAX)))};
    const qint64 lengthMs = qint64(pa_bytes_to_usec(std::uint64_t(wave->samples.size()), &spec) / PA_USEC_PER_MSEC);
    const bool loop = (flags & SND_LOOP) != 0;
    if (!c.play(std::move(*wave), loop, loop ? TuneName : m_waitedName, path) || (flags & SND_ASYNC))
        return;
    c.waitUntilPlayedOut(lengthMs);
    c.dropStream();
}

}  // namespace sound
