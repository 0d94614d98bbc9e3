#pragma once
#include "platform/Sound.h"

#include <QObject>
#include <QString>

#include <memory>

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
// the connection, which sleeps. A lost server is noticed when it goes, and the
// next sound asked for connects afresh.
class PulseSoundService : public platform::SoundService {
public:
    PulseSoundService();
    ~PulseSoundService() override;
    PulseSoundService(const PulseSoundService&) = delete;
    PulseSoundService& operator=(const PulseSoundService&) = delete;

    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override;

    // Connects to the server if it is not connected yet; false when none answers.
    bool reachable();

    // What a sound played and waited for is called from now on (at first the
    // opening chime).
    void setWaitedSoundName(const QString& name);

private:
    void letGoIfLost();

    struct Connection;
    QObject m_notices;  // before the connection: it outlives the connection's thread
    std::unique_ptr<Connection> m_connection;
    QString m_waitedName = OpeningChimeName;
};

}  // namespace sound
