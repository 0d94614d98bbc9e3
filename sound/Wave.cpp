#include "sound/Wave.h"

#include <SDL.h>

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace sound {

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

std::optional<DecodedWave> DecodeWave(QByteArray bytes, QString* why)
{
    auto fail = [why](const char* reason) {
        *why = QString::fromUtf8(reason);
        return std::nullopt;
    };
    if (!SanitizeWave(bytes))
        return fail("not a wave file");
    // The bound for a device of 44.1 kHz 16-bit stereo, the mixer's: a file
    // plays through the server exactly when it would play through the mixer.
    const auto converted = ConvertedWaveBytes(bytes, 44100, 4);
    if (!converted || *converted > MaxConvertedWaveBytes)
        return fail("no usable format, or too long once decoded");
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size())), 1, &spec, &samples,
                        &length))
        return fail(SDL_GetError());
    const auto freeSamples = qScopeGuard([samples] { SDL_FreeWAV(samples); });

    DecodedWave wave;
    wave.rate = spec.freq;
    wave.channels = spec.channels;
    switch (spec.format) {
    case AUDIO_U8:
        wave.format = DecodedWave::Format::U8;
        break;
    case AUDIO_S16LSB:
        wave.format = DecodedWave::Format::S16;
        break;
    case AUDIO_S32LSB:
        wave.format = DecodedWave::Format::S32;
        break;
    case AUDIO_F32LSB:
        wave.format = DecodedWave::Format::F32;
        break;
    default: {
        // Anything else becomes 16-bit little-endian samples, rate and channels kept.
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16LSB, spec.channels, spec.freq) < 0)
            return fail(SDL_GetError());
        wave.samples.resize(qsizetype(length) * std::max(cvt.len_mult, 1));
        std::memcpy(wave.samples.data(), samples, length);
        cvt.buf = reinterpret_cast<Uint8*>(wave.samples.data());
        cvt.len = static_cast<int>(length);
        if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
            return fail(SDL_GetError());
        wave.samples.truncate(cvt.needed ? cvt.len_cvt : qsizetype(length));
        wave.format = DecodedWave::Format::S16;
        return wave;
    }
    }
    wave.samples = QByteArray(reinterpret_cast<const char*>(samples), qsizetype(length));
    return wave;
}

}  // namespace sound
