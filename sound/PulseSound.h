#pragma once
#include "platform/Sound.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QFileSystemWatcher;
class QTimer;

namespace sound {

// What a desktop's volume control shows for each of the program's streams.
inline const QString TuneName = QStringLiteral("ＢＧＭ");
inline const QString OpeningChimeName = QStringLiteral("起動音");
inline const QString ClosingChimeName = QStringLiteral("終了音");

// Plays through the desktop's sound server (PulseAudio, or PipeWire through its
// PulseAudio interface), fed from memory by the server's own requests. The
// stream asks for a long buffer, so the server and the program wake a few times
// a second while a sound plays; stopping or replacing a sound drops that buffer
// at once instead of letting it play out, and a play-and-wait returns when the
// server reports the sound played. Nothing is kept open when nothing plays but
// the connection, which sleeps. A lost server is noticed when it goes: the next
// sound asked for connects afresh, and meanwhile the folder of the server's
// socket is watched, so that the service connects again by itself as soon as
// the server is back and says so.
class PulseSoundService : public platform::SoundService {
public:
    PulseSoundService();
    ~PulseSoundService() override;
    PulseSoundService(const PulseSoundService&) = delete;
    PulseSoundService& operator=(const PulseSoundService&) = delete;

    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override;

    // Connects to the server if it is not connected yet; false when none answers.
    bool reachable();

    // Called on the program's thread when the server that went away answers
    // again and the service has connected to it by itself.
    void setOnReturn(std::function<void()> back);

    // What a sound played and waited for is called from now on (at first the
    // opening chime).
    void setWaitedSoundName(const QString& name);

private:
    struct Connection;
    std::unique_ptr<Connection> newConnection();
    void connectionChanged();
    void letGoIfLost();
    void adoptServer();
    void watchForReturn();
    void tryReturn(bool afterChange);
    void retryLater();

    QObject m_notices;  // before the connection: it outlives the connection's thread
    std::unique_ptr<Connection> m_connection;
    QString m_waitedName = OpeningChimeName;
    std::function<void()> m_onReturn;
    // The socket of the server last connected to, and while that server is away
    // a watch on its folder: a new server there is a change in the folder, so
    // nothing wakes to look for it while none comes.
    QString m_socket;
    std::unique_ptr<QFileSystemWatcher> m_watch;
    // A connection made by the watch is under way.
    bool m_returning = false;
    // Attempts left after the last change in the folder: a socket appears a
    // moment before its server listens on it.
    std::unique_ptr<QTimer> m_retry;
    int m_retriesLeft = 0;
};

}  // namespace sound
