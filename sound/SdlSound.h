#pragma once
#include "platform/Sound.h"

#include <QByteArray>
#include <QString>
#include <memory>

struct Mix_Chunk;

class QTimer;

namespace sound {

// Turns the bytes of a wave file into a chunk the open mixer can play, the way
// every sound request through SDL does: decoded as for the sound server
// (DecodeWave), then converted to the device's format. Returns null (silence),
// with the reason in `why`, when they cannot be played or the mixer is not
// open, or when they would convert to more than MaxConvertedWaveBytes; the
// caller owns the chunk and frees it with Mix_FreeChunk.
Mix_Chunk* LoadWaveChunk(QByteArray bytes, QString* why);

// How long the device stays open after the last sound ended: long enough that
// switching the music off and on again keeps it open.
inline constexpr int DefaultRestAfterMs = 5000;

// Plays through SDL2_mixer. Without an audio device every request is silent and
// returns at once; play-and-wait holds the caller until the device has played the
// sound out, and never much longer than the sound and the device's buffers last.
// The device is let go `restAfterMs` after the last sound ended, and at once when
// SDL reports it lost; the next sound opens it again.
class SdlSoundService : public platform::SoundService {
public:
    explicit SdlSoundService(int restAfterMs = DefaultRestAfterMs);
    ~SdlSoundService() override;
    SdlSoundService(const SdlSoundService&) = delete;
    SdlSoundService& operator=(const SdlSoundService&) = delete;

    void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) override;

    // False when no audio device could be opened: all sound is silence.
    bool hasDevice();

private:
    bool open();
    void halt();
    void close();
    void restIfSilent();
    void letGoIfLost();
    void waitUntilPlayedOut(qint64 lengthMs);

    enum class DeviceState { Untried, Open, Unavailable };
    DeviceState m_state = DeviceState::Untried;
    struct FreeChunk {
        void operator()(Mix_Chunk* chunk) const;
    };
    std::unique_ptr<Mix_Chunk, FreeChunk> m_chunk;  // the sound now playing
    // Closes the device a while after the last sound ended: an open device keeps
    // a thread waking for every buffer, silent or not. The next sound opens it again.
    std::unique_ptr<QTimer> m_rest;
    int m_frequency = 0;
    int m_bytesPerFrame = 0;
    int m_bufferFrames = 0;
};

}  // namespace sound
