#include "sound/ServerReturn.h"
#include "platform/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace sound {

using platform::lcSound;

namespace {
// How often the socket is looked at where the kernel gives no watch: the music
// is back within about a second, as with the watch, for a wake-up a second
// while the server is away, on a machine whose watches are used up.
constexpr int PollMs = 1000;
}  // namespace

QString ExpectedServerSocket()
{
    // The first of the addresses PULSE_SERVER lists, without the machine it is
    // meant for.
    QString address = qEnvironmentVariable("PULSE_SERVER").simplified().section(QLatin1Char(' '), 0, 0);
    if (address.startsWith(QLatin1Char('{')))
        address = address.section(QLatin1Char('}'), 1);
    if (address.startsWith(QLatin1String("unix:")))
        address.remove(0, 5);
    if (QDir::isAbsolutePath(address))
        return QDir::cleanPath(address);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir::isAbsolutePath(runtime) ? QDir::cleanPath(runtime + QLatin1String("/pulse/native")) : QString();
}

unsigned ServerReturn::failed()
{
    if (m_triesLeft > 0) {
        --m_triesLeft;
        m_state = State::Retrying;
        return RetryLater;
    }
    m_state = State::Watching;
    return Nothing;
}

unsigned ServerReturn::on(Event event, bool socketThere)
{
    switch (event) {
    case Event::Lost:
        if (m_state != State::Connected && m_state != State::Trying)
            return Nothing;
        m_state = State::Watching;
        m_triesLeft = 0;
        return Nothing;
    case Event::Watched:
        if (m_state != State::Watching || !socketThere)
            return Nothing;
        m_state = State::Trying;
        return Connect;
    case Event::Changed:
        if (m_state == State::Connected)
            return Nothing;
        if (!socketThere)
            return Nothing;
        m_triesLeft = Tries;
        if (m_state == State::Trying)
            return Nothing;
        m_state = State::Trying;
        return Connect;
    case Event::RetryDue:
        if (m_state != State::Retrying)
            return Nothing;
        if (!socketThere) {
            m_state = State::Watching;
            return Nothing;
        }
        m_state = State::Trying;
        return Connect;
    case Event::Answered:
        if (m_state != State::Trying)
            return Nothing;
        m_state = State::Connected;
        return Announce;
    case Event::Refused:
        return m_state == State::Trying ? failed() : Nothing;
    case Event::Reached:
        m_state = State::Connected;
        return Nothing;
    case Event::Unreached:
        return failed();
    }
    return Nothing;
}

SocketWatch::SocketWatch(std::function<void()> changed)
    : m_changed(std::move(changed))
{
}

SocketWatch::~SocketWatch() = default;

bool SocketWatch::active() const
{
    return m_watcher || m_poll;
}

QString SocketWatch::folder() const
{
    return m_watcher && !m_watcher->directories().isEmpty() ? m_watcher->directories().constFirst() : QString();
}

void SocketWatch::watch(const QString& socket)
{
    stop();
    m_socket = socket;
    if (m_socket.isEmpty()) {
        if (!m_told)
            qCDebug(lcSound, "the server's return cannot be watched: it listens on no local socket");
        m_told = true;
        return;
    }
    m_watcher = std::make_unique<QFileSystemWatcher>();
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_watcher.get(), [this] {
        follow();
        m_changed();
    });
    follow();
}

// The watcher or the timer may be what called: each goes once its call has
// returned, and says nothing more meanwhile.
void SocketWatch::stop()
{
    for (QObject* o : {static_cast<QObject*>(m_watcher.release()), static_cast<QObject*>(m_poll.release())}) {
        if (o) {
            QObject::disconnect(o, nullptr, nullptr, nullptr);
            o->deleteLater();
        }
    }
}

// The watch moves to the nearest folder on the socket's path that exists now:
// a folder removed is dropped from the kernel's watch, and one made below the
// watched one is where the socket will appear.
void SocketWatch::follow()
{
    QString nearest = QFileInfo(m_socket).absolutePath();
    while (!QFileInfo(nearest).isDir() && nearest != QDir::rootPath())
        nearest = QFileInfo(nearest).absolutePath();
    if (folder() == nearest)
        return;
    if (!folder().isEmpty())
        m_watcher->removePath(folder());
    if (m_watcher->addPath(nearest))
        return;
    if (!m_told)
        qCDebug(lcSound, "%s cannot be watched (no kernel watch left): the server's socket is looked for every %d ms",
                qUtf8Printable(nearest), PollMs);
    m_told = true;
    stop();
    m_seen = QFileInfo(m_socket).lastModified();
    m_poll = std::make_unique<QTimer>();
    m_poll->setInterval(PollMs);
    QObject::connect(m_poll.get(), &QTimer::timeout, m_poll.get(), [this] { poll(); });
    m_poll->start();
}

// A socket made, made again or removed since the last look is a change.
void SocketWatch::poll()
{
    const QDateTime seen = QFileInfo(m_socket).lastModified();
    if (seen == m_seen)
        return;
    m_seen = seen;
    m_changed();
}

}  // namespace sound
