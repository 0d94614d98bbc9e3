#pragma once
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

class QFileSystemWatcher;
class QTimer;

namespace sound {

// Where the sound server listens, as the sound library finds it on a desktop:
// the Unix socket PULSE_SERVER names, otherwise pulse/native in
// XDG_RUNTIME_DIR. Nothing when neither names a local socket.
QString ExpectedServerSocket();

// The sound service's dealings with its server between a loss and a return,
// as states and events alone: it knows neither the server nor the folder it
// listens in, and says what to do next as actions.
class ServerReturn {
public:
    enum class State {
        Connected,  // a connection serves the sounds asked for
        Watching,   // no server: its folder is watched, nothing else wakes
        Trying,     // a connection made by the watch waits for the server's answer
        Retrying,   // a socket refused: it is tried again a moment later
    };
    enum class Event {
        Lost,       // the connection that served went away
        Watched,    // the watch has just begun: the socket was looked at once
        Changed,    // a change where the socket lies
        RetryDue,   // the moment to try again has come
        Answered,   // the connection the watch made is ready
        Refused,    // it failed
        Reached,    // a sound asked for found the server itself
        Unreached,  // a sound asked for found none
    };
    enum Action : unsigned {
        Nothing = 0,
        Connect = 1,     // connect in the background: Answered or Refused follows
        RetryLater = 2,  // RetryDue a moment from now
        Announce = 4,    // the server is back: what was playing is asked for again
    };
    // Attempts after a change: a socket appears a moment before its server
    // listens on it. A socket found when the watch begins is tried once: it is
    // most often one a dead server left behind.
    static constexpr int Tries = 8;

    // `socketThere` matters for Watched, Changed and RetryDue alone. Returns the actions.
    unsigned on(Event event, bool socketThere = false);
    State state() const { return m_state; }
    int triesLeft() const { return m_triesLeft; }

private:
    unsigned failed();
    State m_state = State::Watching;
    int m_triesLeft = 0;
};

// Watches for a socket to appear: the nearest folder on its path that exists
// is watched by the kernel, and the watch moves down as folders are made and
// back up as they are removed, so that nothing of the program wakes until
// something changes there. `changed` is called after every change.
class SocketWatch {
public:
    explicit SocketWatch(std::function<void()> changed);
    ~SocketWatch();
    SocketWatch(const SocketWatch&) = delete;
    SocketWatch& operator=(const SocketWatch&) = delete;

    void watch(const QString& socket);
    void stop();
    bool active() const;
    // The folder watched now, or nothing while the watch is off or polls.
    QString folder() const;

private:
    void follow();
    void poll();

    std::function<void()> m_changed;
    QString m_socket;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    // Where the kernel gives no watch, the socket is looked at on a timer.
    std::unique_ptr<QTimer> m_poll;
    QDateTime m_seen;
    bool m_told = false;
};

}  // namespace sound
