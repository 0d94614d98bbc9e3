#pragma once
#include "platform/Sound.h"
#include "sound/PulseSound.h"
#include "sound/SdlSound.h"

namespace sound {

// The service the program uses: the desktop's sound server when one answers,
// SDL's own choice of device (ALSA without a server) when none does. With
// AELORIN_SOUND=sdl, SDL alone (SDL_AUDIODRIVER, which people set for their
// games, still chooses SDL's device, and only that). Music that is on when a
// server answers that was not there, or came back, plays through it at once.
class DesktopSoundService : public platform::SoundService {
public:
    DesktopSoundService();
    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override;

    // What a sound played and waited for is called on the server from now on.
    void setWaitedSoundName(const QString& name);

private:
    void serverBack();

    bool m_sdlOnly;
    bool m_sdlPlayed = false;
    // The loop asked for last, until another request replaces it.
    struct Request {
        QString name;
        std::uint32_t flags;
    };
    std::optional<Request> m_loop;
    PulseSoundService m_server;
    SdlSoundService m_sdl;
};

}  // namespace sound
