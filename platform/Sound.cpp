#include "platform/Sound.h"
#include "platform/Log.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace platform {

namespace {
constexpr int Channel = 0;
// Slack on top of a sound's own length before a wait gives up: covers the device's
// buffer latency without letting a stuck device hold the program.
constexpr qint64 WaitSlackMs = 250;
}  // namespace

bool SanitizeWave(QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    auto lengthAt = [&bytes](qsizetype pos) {
        return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData() + pos));
    };
    auto setLengthAt = [&bytes](qsizetype pos, quint32 value) {
        qToLittleEndian<quint32>(value, reinterpret_cast<uchar*>(bytes.data() + pos));
    };
    if (lengthAt(4) != quint32(bytes.size() - 8))
        setLengthAt(4, quint32(bytes.size() - 8));
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const qsizetype left = bytes.size() - pos - 8;
        quint32 length = lengthAt(pos + 4);
        if (qsizetype(length) > left) {
            length = quint32(left);
            setLengthAt(pos + 4, length);
        }
        pos += 8 + qsizetype(length) + (length & 1);  // chunks are padded to even sizes
    }
    return true;
}

std::optional<qint64> ConvertedWaveBytes(const QByteArray& bytes, int deviceRate, int deviceFrameBytes)
{
    auto u16At = [&bytes](qsizetype pos) {
        return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData() + pos));
    };
    auto u32At = [&bytes](qsizetype pos) {
        return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(bytes.constData() + pos));
    };
    // A frame takes the bits its channels' samples say or the bytes its block
    // says, whichever is less (the decoder goes by either, and a broken file may
    // disagree with itself), and never less than the 4 bits of one ADPCM sample.
    std::optional<double> most;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const qsizetype length = u32At(pos + 4);
        if (std::memcmp(bytes.constData() + pos, "fmt ", 4) == 0 && length >= 16 && pos + 8 + 16 <= bytes.size()) {
            const quint16 channels = u16At(pos + 8 + 2);
            const quint32 rate = u32At(pos + 8 + 4);
            const quint16 blockAlign = u16At(pos + 8 + 12);
            const quint16 bits = u16At(pos + 8 + 14);
            if (channels > 0 && rate > 0) {
                double frameBits = double(bits) * channels;
                if (blockAlign > 0)
                    frameBits = std::min(frameBits, double(blockAlign) * 8);
                const double frames = double(bytes.size()) * 8 / std::max(frameBits, 4.0);
                const double converted = frames * deviceRate / rate * deviceFrameBytes;
                most = std::max(most.value_or(0.0), converted);
            }
        }
        pos += 8 + length + (length & 1);
    }
    if (!most)
        return std::nullopt;
    return *most >= double(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                               : static_cast<qint64>(std::ceil(*most));
}

Mix_Chunk* LoadWaveChunk(QByteArray bytes)
{
    if (!SanitizeWave(bytes))
        return nullptr;
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0)
        return nullptr;
    const auto converted = ConvertedWaveBytes(bytes, rate, channels * (SDL_AUDIO_BITSIZE(format) / 8));
    if (!converted || *converted > MaxConvertedWaveBytes)
        return nullptr;
    // The decoder copies the samples out, so the bytes may go once it returns.
    return Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size())), 1);
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

void SdlSoundService::close()
{
    halt();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundService::restIfSilent()
{
    if (m_state != DeviceState::Open || Mix_Playing(Channel))
        return;
    close();
    m_state = DeviceState::Untried;
}

bool SdlSoundService::hasDevice()
{
    return open();
}

bool SdlSoundService::open()
{
    if (m_state != DeviceState::Untried)
        return m_state == DeviceState::Open;
    m_state = DeviceState::Unavailable;
    // SDL would otherwise take SIGINT and SIGTERM for itself and turn them into
    // events that nothing here reads: the program could no longer be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&m_frequency, &format, &channels);
    m_bytesPerFrame = channels * (SDL_AUDIO_BITSIZE(format) / 8);
    m_state = DeviceState::Open;
    return true;
}

void SdlSoundService::halt()
{
    Mix_HaltChannel(Channel);
    if (m_chunk) {
        Mix_FreeChunk(static_cast<Mix_Chunk*>(m_chunk));
        m_chunk = nullptr;
    }
}

WaveLoad ReadWaveFile(const QString& file)
{
    WaveLoad wave;
    wave.path = file;
    // Only a plain file: opening a pipe would wait for a writer, and a device
    // such as /dev/zero never ends.
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly)) {
        wave.status = WaveStatus::Missing;
        return wave;
    }
    if (f.size() > MaxWaveBytes) {
        wave.status = WaveStatus::TooLarge;
        return wave;
    }
    // The read is bounded all the same: a file may grow after its size was taken.
    wave.value = f.read(f.size() + 1);
    if (wave.value.size() > MaxWaveBytes) {
        wave.value.clear();
        wave.status = WaveStatus::TooLarge;
        return wave;
    }
    wave.status = WaveStatus::Ok;
    return wave;
}

void SdlSoundService::sndPlaySound(const std::optional<QString>& name, std::uint32_t flags)
{
    if (!open())
        return;
    m_rest->stop();
    const auto restLater = qScopeGuard([this] {
        if (!Mix_Playing(Channel))
            m_rest->start();
    });
    halt();
    if (!name)
        return;

    const WaveLoad wave = ReadWaveFile(*name);
    if (!wave.ok()) {
        qCDebug(lcAelorin, "no sound from %s: %s", qUtf8Printable(wave.path),
                wave.status == WaveStatus::TooLarge ? "file too large" : "no such file");
        return;
    }
    Mix_Chunk* chunk = LoadWaveChunk(wave.value);
    if (!chunk)
        return;
    const bool loop = (flags & SND_LOOP) != 0;
    if (Mix_PlayChannel(Channel, chunk, loop ? -1 : 0) < 0) {
        Mix_FreeChunk(chunk);
        return;
    }
    m_chunk = chunk;
    if (flags & SND_ASYNC)
        return;

    // Play and wait: hold the caller until the sound is over, but never longer
    // than the sound itself lasts.
    const qint64 lengthMs = m_frequency > 0 && m_bytesPerFrame > 0
                                ? static_cast<qint64>(chunk->alen) / m_bytesPerFrame * 1000 / m_frequency
                                : 0;
    QElapsedTimer clock;
    clock.start();
    while (Mix_Playing(Channel) && clock.elapsed() < lengthMs + WaitSlackMs)
        SDL_Delay(5);
    halt();
}

}  // namespace platform
