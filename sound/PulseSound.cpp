#include "sound/PulseSound.h"
#include "platform/Log.h"
#include "sound/Wave.h"

#include <QFileInfo>
#include <QTimer>

namespace sound {

using platform::lcSound;
using platform::SND_ASYNC;
using platform::SND_LOOP;
using Event = ServerReturn::Event;
using State = ServerReturn::State;

namespace {
// How far apart the tries after a change are while the server does not answer yet.
constexpr int ReturnRetryMs = 250;
}  // namespace

PulseSoundService::PulseSoundService()
    : m_socket(ExpectedServerSocket())
    , m_watch([this] { step(Event::Changed); })
    , m_retry(std::make_unique<QTimer>())
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(ReturnRetryMs);
    QObject::connect(m_retry.get(), &QTimer::timeout, &m_notices, [this] { step(Event::RetryDue); });
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

std::unique_ptr<PulseConnection> PulseSoundService::newConnection()
{
    return std::make_unique<PulseConnection>(&m_notices, [this] { connectionChanged(); });
}

// Feeds an event to the return's states and does what they ask. The watch is
// on exactly while no connection serves; once it is, the socket is looked at,
// since a server may have come before the watch began.
void PulseSoundService::step(Event event)
{
    const unsigned actions = m_return.on(event, QFileInfo::exists(m_socket));
    const bool beginWatch = event != Event::Watched && m_return.state() != State::Connected && !m_watch.active();
    if (m_return.state() == State::Connected)
        m_watch.stop();
    else if (beginWatch)
        m_watch.watch(m_socket);
    if (m_return.state() != State::Retrying)
        m_retry->stop();
    if (actions & ServerReturn::RetryLater)
        m_retry->start();
    if (actions & ServerReturn::Connect) {
        auto connection = newConnection();
        QString why;
        if (connection->start(&why)) {
            m_connection = std::move(connection);
        } else {
            connection.reset();
            step(Event::Refused);
        }
    }
    if (actions & ServerReturn::Announce) {
        adoptServer();
        qCDebug(lcSound, "the sound server is back");
        if (m_onReturn)
            m_onReturn();
    }
    if (beginWatch)
        step(Event::Watched);
}

// Once connected: should the server go, its return is watched for where it
// was reached.
void PulseSoundService::adoptServer()
{
    const PulseConnection::Lock lock(*m_connection);
    const QString socket = m_connection->serverSocket();
    if (!socket.isEmpty())
        m_socket = socket;
}

// On the program's thread, after the connection was made or lost.
void PulseSoundService::connectionChanged()
{
    letGoIfLost();
    if (!m_connection || m_return.state() != State::Trying)
        return;
    bool ready = false;
    {
        const PulseConnection::Lock lock(*m_connection);
        ready = m_connection->ready();
    }
    if (ready)
        step(Event::Answered);
}

// The server going away lets the connection go at once, so that nothing is
// left waiting on a dead socket.
void PulseSoundService::letGoIfLost()
{
    if (!m_connection)
        return;
    bool good = false;
    bool wasReady = false;
    QString why;
    {
        const PulseConnection::Lock lock(*m_connection);
        good = m_connection->good();
        wasReady = m_connection->wasReady();
        why = m_connection->error();
    }
    if (good)
        return;
    m_connection.reset();
    if (wasReady)
        qCDebug(lcSound, "the sound server went away: %s", qUtf8Printable(why));
    step(wasReady ? Event::Lost : Event::Refused);
}

bool PulseSoundService::reachable()
{
    letGoIfLost();
    QString why;
    if (!m_connection) {
        auto connection = newConnection();
        if (!connection->start(&why)) {
            qCDebug(lcSound, "no sound server: %s", qUtf8Printable(why));
            step(Event::Unreached);
            return false;
        }
        m_connection = std::move(connection);
    }
    if (!m_connection->waitReady(ServerAnswerMs, &why)) {
        qCDebug(lcSound, "no sound server: %s", qUtf8Printable(why));
        m_connection.reset();
        step(Event::Unreached);
        return false;
    }
    // A connection made here, or one the watch was making, which then serves
    // the request itself: it replaces whatever played before the server went.
    if (m_return.state() != State::Connected) {
        adoptServer();
        step(Event::Reached);
    }
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
    PulseConnection& c = *m_connection;
    const PulseConnection::Lock lock(c);
    c.dropStream();
    if (!wave)
        return;
    const bool loop = (flags & SND_LOOP) != 0;
    qint64 lengthMs = 0;
    if (!c.play(std::move(*wave), loop, loop ? TuneName : m_waitedName, path, &lengthMs) || (flags & SND_ASYNC))
        return;
    c.waitUntilPlayedOut(lengthMs);
    c.dropStream();
}

}  // namespace sound
