#pragma once
#include "platform/Sound.h"
#include "sound/PulseConnection.h"
#include "sound/ServerReturn.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

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
// the connection, which sleeps. From the first sound asked for, whenever no
// server answers (none yet, or the one there was went away), the place where
// its socket appears is watched, so that the service connects by itself as
// soon as a server listens there and says so.
class PulseSoundService : public platform::SoundService {
public:
    PulseSoundService();
    ~PulseSoundService() override;
    PulseSoundService(const PulseSoundService&) = delete;
    PulseSoundService& operator=(const PulseSoundService&) = delete;

    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override;

    // Connects to the server if it is not connected yet; false when none answers.
    bool reachable();

    // Called on the program's thread when a server answers that the service
    // found and connected to by itself.
    void setOnReturn(std::function<void()> back);

    // What a sound played and waited for is called from now on (at first the
    // opening chime).
    void setWaitedSoundName(const QString& name);

private:
    std::unique_ptr<PulseConnection> newConnection();
    void connectionChanged();
    void letGoIfLost();
    void adoptServer();
    void step(ServerReturn::Event event);

    QObject m_notices;  // before the connection: it outlives the connection's thread
    std::unique_ptr<PulseConnection> m_connection;
    QString m_waitedName = OpeningChimeName;
    std::function<void()> m_onReturn;
    ServerReturn m_return;
    // The socket of the server last connected to, or where one is expected.
    QString m_socket;
    SocketWatch m_watch;
    std::unique_ptr<QTimer> m_retry;
};

}  // namespace sound
