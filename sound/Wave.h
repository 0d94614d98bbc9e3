#pragma once
#include "platform/Loaded.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The wave files' checks, as plain functions that need no audio device: every
// sound request reads its file through them, whichever way it then plays.
namespace sound {

// Largest wave file the services will read; anything bigger is silent.
inline constexpr qint64 MaxWaveBytes = 64 * 1024 * 1024;

enum class WaveStatus { Missing, Ok, TooLarge };
using WaveLoad = platform::Loaded<WaveStatus, QByteArray>;

// The bytes of a wave file, read whole, or why they were not: anything but a
// plain file that can be opened is missing, one above MaxWaveBytes too large.
WaveLoad ReadWaveFile(const QString& file);

// Makes the chunk lengths of a RIFF file's bytes agree with what it really holds:
// a chunk that claims more than the file has left is cut to what is there, so a
// truncated or lying file can neither make the decoder reach for gigabytes nor
// read past the end. Returns false when the bytes are not a RIFF WAVE file.
bool SanitizeWave(QByteArray& bytes);

// Largest sound the services will hold once decoded and converted to a device's
// format, about twelve minutes of 44.1 kHz stereo: a small file at a very low
// sample rate would otherwise grow into gigabytes when the mixer converts it.
inline constexpr qint64 MaxConvertedWaveBytes = 128 * 1024 * 1024;

// An upper bound on the bytes a sanitised wave file's samples take once
// converted to a device of `deviceRate` frames per second and `deviceFrameBytes`
// bytes per frame, whichever of its format chunks the decoder goes by. Nothing
// when no format chunk names a sample rate and a channel count.
std::optional<qint64> ConvertedWaveBytes(const QByteArray& bytes, int deviceRate, int deviceFrameBytes);

// How long a play-and-wait may outlast its sound and the output's buffers
// before it gives up on an output that has stalled.
inline constexpr qint64 PlayWaitSlackMs = 1000;

// A wave file's samples, decoded but not converted: a sound server takes them in
// the file's own rate, channels and sample format.
struct DecodedWave {
    enum class Format { U8, S16, S32, F32 };
    QByteArray samples;  // little-endian, channels interleaved
    Format format = Format::S16;
    int rate = 0;
    int channels = 0;
};

// Decodes the bytes of a wave file (sanitised, and held to the size bound), or
// says why it cannot: the one decoder of both services.
std::optional<DecodedWave> DecodeWave(QByteArray bytes, QString* why);

}  // namespace sound
