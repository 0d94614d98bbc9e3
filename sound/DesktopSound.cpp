#include "sound/DesktopSound.h"

namespace sound {

DesktopSoundService::DesktopSoundService()
    : m_sdlOnly(qEnvironmentVariable("AELORIN_SOUND") == QLatin1String("sdl"))
{
    m_server.setOnReturn([this] { serverBack(); });
}

void DesktopSoundService::setWaitedSoundName(const QString& name)
{
    m_server.setWaitedSoundName(name);
}

void DesktopSoundService::sndPlaySound(const std::optional<QString>& name, std::uint32_t flags)
{
    // A stop or a sound played once forgets the loop: music switched off
    // stays off when a server comes back.
    if (name && (flags & platform::SND_LOOP))
        m_loop = Request{*name, flags};
    else
        m_loop.reset();
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

// The music is asked for again, as the person asked for it; it starts from its
// beginning, as after switching it off and on.
void DesktopSoundService::serverBack()
{
    if (m_loop) {
        const Request loop = *m_loop;
        sndPlaySound(loop.name, loop.flags);
    }
}

}  // namespace sound
