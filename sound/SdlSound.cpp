#include "sound/SdlSound.h"
#include "platform/Log.h"
#include "sound/Wave.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>

namespace sound {

using platform::SND_ASYNC;
using platform::SND_LOOP;

namespace {
constexpr int Channel = 0;

SDL_AudioFormat SdlFormat(DecodedWave::Format format)
{
    switch (format) {
    case DecodedWave::Format::U8:
        return AUDIO_U8;
    case DecodedWave::Format::S16:
        return AUDIO_S16LSB;
    case DecodedWave::Format::S32:
        return AUDIO_S32LSB;
    case DecodedWave::Format::F32:
        return AUDIO_F32LSB;
    }
    return AUDIO_S16LSB;
}
// The mixer's buffer: 46 ms at 44.1 kHz. A stopped sound is still heard for what
// the device holds (two buffers here), which stays within a tenth of a second,
// and the audio thread wakes half as often as with the mixer's usual 1024.
constexpr int BufferFrames = 2048;

// Set by the audio thread, read by the program's: SDL keeps a single mixer, and
// so does this file.
std::atomic<int> g_buffersMixed{0};
std::atomic<bool> g_deviceLost{false};

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

// Where ALSA finds no card it reports it on stderr, line after line, even though
// SDL only asks and moves on. SDL loads the library itself; this reaches the
// same copy and gives it a handler that keeps quiet, since SDL's own error
// text reaches the sound log.
void SilenceAlsa()
{
    static const bool done = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!alsa)
            return true;
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
            set(IgnoreAlsaError);
        return true;  // the library stays loaded, and its handler with it
    }();
    Q_UNUSED(done);
}
}  // namespace

Mix_Chunk* LoadWaveChunk(QByteArray bytes, QString* why)
{
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0) {
        *why = QStringLiteral("no device");
        return nullptr;
    }
    // Decoded as the sound server takes it, then converted to the device's format.
    std::optional<DecodedWave> wave = DecodeWave(std::move(bytes), why);
    if (!wave)
        return nullptr;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, SdlFormat(wave->format), Uint8(wave->channels), wave->rate, format, Uint8(channels),
                          rate)
        < 0) {
        *why = QString::fromUtf8(SDL_GetError());
        return nullptr;
    }
    const qint64 length = wave->samples.size();
    if (length > std::numeric_limits<int>::max() / std::max(cvt.len_mult, 1)
        || double(length) * cvt.len_ratio > double(MaxConvertedWaveBytes)) {
        *why = QStringLiteral("too long once converted");
        return nullptr;
    }
    auto* buffer = static_cast<Uint8*>(SDL_malloc(std::size_t(length) * std::size_t(std::max(cvt.len_mult, 1))));
    if (!buffer) {
        *why = QStringLiteral("out of memory");
        return nullptr;
    }
    std::memcpy(buffer, wave->samples.constData(), std::size_t(length));
    cvt.buf = buffer;
    cvt.len = int(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        *why = QString::fromUtf8(SDL_GetError());
        SDL_free(buffer);
        return nullptr;
    }
    Mix_Chunk* chunk = Mix_QuickLoad_RAW(buffer, Uint32(cvt.needed ? cvt.len_cvt : cvt.len));
    if (!chunk) {
        *why = QString::fromUtf8(Mix_GetError());
        SDL_free(buffer);
        return nullptr;
    }
    chunk->allocated = 1;  // Mix_FreeChunk frees the samples with the chunk
    return chunk;
}

SdlSoundService::SdlSoundService(int restAfterMs)
    : m_rest(std::make_unique<QTimer>())
{
    m_rest->setSingleShot(true);
    m_rest->setInterval(restAfterMs);
    QObject::connect(m_rest.get(), &QTimer::timeout, [this] { restIfSilent(); });
}

SdlSoundService::~SdlSoundService()
{
    if (m_state == DeviceState::Open)
        close();
}

void SdlSoundService::FreeChunk::operator()(Mix_Chunk* chunk) const
{
    Mix_FreeChunk(chunk);
}

void SdlSoundService::close()
{
    halt();
    SDL_SetEventFilter(nullptr, nullptr);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    g_deviceLost = false;
    m_state = DeviceState::Untried;
}

void SdlSoundService::restIfSilent()
{
    if (m_state != DeviceState::Open || Mix_Playing(Channel))
        return;
    close();
}

void SdlSoundService::letGoIfLost()
{
    if (m_state != DeviceState::Open || !g_deviceLost)
        return;
    qCDebug(platform::lcSound, "the audio device went away; the next sound opens it again");
    close();
}

bool SdlSoundService::hasDevice()
{
    return open();
}

bool SdlSoundService::open()
{
    letGoIfLost();
    if (m_state != DeviceState::Untried)
        return m_state == DeviceState::Open;
    m_state = DeviceState::Unavailable;
    // SDL would otherwise take SIGINT and SIGTERM for itself and turn them into
    // events that nothing here reads: the program could no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SilenceAlsa();
    // The events part carries SDL's notice that the device was lost.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        qCDebug(platform::lcSound, "no audio: %s", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, BufferFrames) != 0) {
        qCDebug(platform::lcSound, "no audio device: %s", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    Mix_AllocateChannels(1);
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&m_frequency, &format, &channels);
    m_bytesPerFrame = channels * (SDL_AUDIO_BITSIZE(format) / 8);
    m_bufferFrames = BufferFrames;
    g_buffersMixed = 0;
    Mix_SetPostMix([](void*, Uint8*, int) { ++g_buffersMixed; }, nullptr);
    // Called on the thread that notices, which is never this one: the flag is
    // read by the next request, and a queued call lets the device go now.
    SDL_SetEventFilter(
        [](void* receiver, SDL_Event* event) -> int {
            if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture) {
                g_deviceLost = true;
                QMetaObject::invokeMethod(
                    static_cast<QTimer*>(receiver), [] {}, Qt::QueuedConnection);
            }
            return 0;  // nobody reads SDL's event queue: keep it empty
        },
        m_rest.get());
    m_state = DeviceState::Open;
    return true;
}

void SdlSoundService::halt()
{
    Mix_HaltChannel(Channel);
    m_chunk.reset();
}

void SdlSoundService::sndPlaySound(const std::optional<QString>& name, std::uint32_t flags)
{
    if (!open())
        return;
    m_rest->stop();
    const auto restLater = qScopeGuard([this] {
        if (m_state == DeviceState::Open && !Mix_Playing(Channel))
            m_rest->start();
    });
    halt();
    if (!name)
        return;

    const WaveLoad wave = ReadWaveFile(*name);
    if (!wave.ok()) {
        qCDebug(platform::lcSound, "no sound from %s: %s", qUtf8Printable(wave.path),
                wave.status == WaveStatus::TooLarge ? "file too large" : "no such file");
        return;
    }
    QString why;
    Mix_Chunk* chunk = LoadWaveChunk(wave.value, &why);
    if (!chunk) {
        qCDebug(platform::lcSound, "no sound from %s: %s", qUtf8Printable(wave.path), qUtf8Printable(why));
        return;
    }
    m_chunk.reset(chunk);
    const bool loop = (flags & SND_LOOP) != 0;
    if (Mix_PlayChannel(Channel, chunk, loop ? -1 : 0) < 0) {
        qCDebug(platform::lcSound, "%s did not play: %s", qUtf8Printable(wave.path), Mix_GetError());
        m_chunk.reset();
        return;
    }
    if (flags & SND_ASYNC)
        return;
    const qint64 lengthMs = m_frequency > 0 && m_bytesPerFrame > 0
                                ? static_cast<qint64>(chunk->alen) / m_bytesPerFrame * 1000 / m_frequency
                                : 0;
    waitUntilPlayedOut(lengthMs);
    halt();
}

// The mixer is done with a sound once it has handed its last samples to the
// device, but the device still holds them: it has played them out when it has
// asked for two more buffers. A device that stalls holds the caller no longer
// than the sound and those buffers last, plus a bound.
void SdlSoundService::waitUntilPlayedOut(qint64 lengthMs)
{
    const qint64 bufferMs = m_frequency > 0 ? qint64(m_bufferFrames) * 1000 / m_frequency : 0;
    const qint64 limitMs = lengthMs + 2 * bufferMs + PlayWaitSlackMs;
    QElapsedTimer clock;
    clock.start();
    while (Mix_Playing(Channel) && clock.elapsed() < limitMs)
        SDL_Delay(5);
    const int mixedAtEnd = g_buffersMixed;
    while (g_buffersMixed - mixedAtEnd < 2 && clock.elapsed() < limitMs && !g_deviceLost)
        SDL_Delay(5);
}

}  // namespace sound
