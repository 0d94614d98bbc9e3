#include "sound/DesktopSound.h"

namespace sound {

DesktopSoundService::DesktopSoundService()
    : m_sdlOnly(qEnvironmentVariableIsSet("SDL_AUDIODRIVER"))
{
}

void DesktopSoundService::setWaitedSoundName(const QString& name)
{
    m_server.setWaitedSoundName(name);
}

void DesktopSoundService::sndPlaySound(const std::optional<QString>& name, std::uint32_t flags)
{
    if (!m_sdlOnly && m_server.reachable()) {
        // A server that came back after SDL took over: what SDL plays stops first.
        if (m_sdlPlayed) {
            m_sdl.sndPlaySound(std::nullopt, flags);
            m_sdlPlayed = false;
        }
        m_server.sndPlaySound(name, flags);
        return;
    }
    m_sdl.sndPlaySound(name, flags);
    m_sdlPlayed = true;
}

}  // namespace sound
