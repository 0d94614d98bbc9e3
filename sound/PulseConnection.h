#pragma once
#include "sound/Wave.h"

#include <QString>

#include <functional>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;

class QObject;

namespace sound {

// How long to wait for the server to answer a connection or a new stream.
inline constexpr int ServerAnswerMs = 2000;

// One connection to the desktop's sound server and the stream now playing.
// The server's callbacks run on the connection's own thread, with its lock
// held; the program's thread takes the same lock (Lock) for everything it asks
// of the connection but start() and waitReady().
class PulseConnection {
public:
    // `onChange` is called on `notices`' thread whenever the connection is made
    // or lost.
    PulseConnection(QObject* notices, std::function<void()> onChange);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    class Lock {
    public:
        explicit Lock(PulseConnection& c);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };

    // Without the lock: starts connecting on the connection's own thread and
    // returns without waiting for the server's answer. False when not even
    // that could be done, with the reason in `why`.
    bool start(QString* why);
    // Without the lock: waits up to `ms` for the server's answer.
    bool waitReady(qint64 ms, QString* why);

    // With the lock held.
    bool ready() const;
    bool good() const;
    bool wasReady() const { return m_wasReady; }
    QString error() const;
    // The Unix socket the server was reached through, or nothing.
    QString serverSocket() const;
    // The stream goes, and whatever it still buffers with it.
    void dropStream();
    // A new stream for `wave`, called `name`, fed by the server's requests;
    // the sound's length in `lengthMs`.
    bool play(DecodedWave wave, bool loopIt, const QString& name, const QString& path, qint64* lengthMs);
    // Until the server reports the sound played out, the stream fails, or the
    // sound, the buffer the stream asked for and a bound have passed.
    void waitUntilPlayedOut(qint64 lengthMs);

private:
    template <typename Done>
    bool waitLocked(Done done, qint64 ms);
    void feed(std::size_t bytes);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    QObject* m_notices;
    std::function<void()> m_onChange;
    bool m_wasReady = false;

    // What the stream plays, how far the server has taken it, and the drain
    // asked for once it has all of a sound played once.
    QByteArray m_samples;
    qsizetype m_sent = 0;
    bool m_looping = false;
    bool m_playedOut = false;
    pa_operation* m_drain = nullptr;
};

}  // namespace sound
