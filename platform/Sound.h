#pragma once
#include "platform/Loaded.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

struct Mix_Chunk;

class QTimer;

namespace platform {

inline constexpr std::uint32_t SND_ASYNC = 1;
inline constexpr std::uint32_t SND_NODEFAULT = 2;
inline constexpr std::uint32_t SND_LOOP = 8;

// The two ways the program plays a file.
inline constexpr std::uint32_t PlayAndWait = SND_NODEFAULT;
inline constexpr std::uint32_t PlayLoop = SND_ASYNC | SND_NODEFAULT | SND_LOOP;

// The program's three sound requests:
//   play once and wait   (name, SND_NODEFAULT)
//   play in a loop       (name, SND_ASYNC | SND_NODEFAULT | SND_LOOP)
//   stop                 (no name, any flags)
// A new request replaces whatever is playing. A missing or unplayable file is silent.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void sndPlaySound(const std::optional<QString>& name, std::uint32_t flags) = 0;
};

// Largest wave file the service will read; anything bigger is silent.
inline constexpr qint64 MaxWaveBytes = 64 * 1024 * 1024;

enum class WaveStatus { Missing, Ok, TooLarge };
using WaveLoad = Loaded<WaveStatus, QByteArray>;

// The bytes of a wave file, read whole, or why they were not: anything but a
// plain file that can be opened is missing, one above MaxWaveBytes too large.
WaveLoad ReadWaveFile(const QString& file);

// Makes the chunk lengths of a RIFF file's bytes agree with what it really holds:
// a chunk that claims more than the file has left is cut to what is there, so a
// truncated or lying file can neither make the decoder reach for gigabytes nor
// read past the end. Returns false when the bytes are not a RIFF WAVE file.
bool SanitizeWave(QByteArray& bytes);

// Largest sound the service will hold once converted to the device's format,
// about twelve minutes of 44.1 kHz stereo: a small file at a very low sample
// rate would otherwise grow into gigabytes when the mixer converts it.
inline constexpr qint64 MaxConvertedWaveBytes = 128 * 1024 * 1024;

// An upper bound on the bytes a sanitised wave file's samples take once
// converted to a device of `deviceRate` frames per second and `deviceFrameBytes`
// bytes per frame, whichever of its format chunks the decoder goes by. Nothing
// when no format chunk names a sample rate and a channel count.
std::optional<qint64> ConvertedWaveBytes(const QByteArray& bytes, int deviceRate, int deviceFrameBytes);

// Turns the bytes of a wave file into a chunk the open mixer can play, the way
// every sound request does: the bytes are sanitised, then decoded and converted
// to the device's format. Returns null (silence) when they cannot be played or
// the mixer is not open, or when they would convert to more than
// MaxConvertedWaveBytes; the caller owns the chunk and frees it with Mix_FreeChunk.
Mix_Chunk* LoadWaveChunk(QByteArray bytes);

// A wave file's samples, decoded but not converted: a sound server takes them in
// the file's own rate, channels and sample format.
struct DecodedWave {
    enum class Format { U8, S16, S32, F32 };
    QByteArray samples;  // little-endian, channels interleaved
    Format format = Format::S16;
    int rate = 0;
    int channels = 0;
};

// Decodes the bytes of a wave file the way the mixer would (sanitised, and held
// to the same size limits), or says why it cannot.
std::optional<DecodedWave> DecodeWave(QByteArray bytes, QString* why);

// How long the device stays open after the last sound ended: long enough that
// switching the music off and on again keeps it open.
inline constexpr int DefaultRestAfterMs = 5000;

// Plays through SDL2_mixer. Without an audio device every request is silent and
// returns at once; play-and-wait holds the caller until the device has played the
// sound out, and never much longer than the sound and the device's buffers last.
// The device is let go `restAfterMs` after the last sound ended, and at once when
// SDL reports it lost; the next sound opens it again.
class SdlSoundService : public SoundService {
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

}  // namespace platform
