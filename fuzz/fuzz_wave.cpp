// The two wave files through the paths every sound request takes: the bytes are
// sanitised and decoded in their own format by the one decoder, which needs no
// device and is all the sound server gets, then converted into the open
// mixer's format for SDL. The mixer is opened once, as the program opens it,
// on SDL's dummy device. Neither makes more of a file than the bound the
// services check first.
#include "sound/SdlSound.h"
#include "sound/Wave.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    static sound::SdlSoundService service;
    if (!service.hasDevice()) {
        std::fprintf(stderr, "fuzz_wave: SDL's dummy audio device did not open: %s\n", SDL_GetError());
        std::abort();
    }
    return 0;
}

namespace {
int SampleBytes(sound::DecodedWave::Format format)
{
    switch (format) {
    case sound::DecodedWave::Format::U8:
        return 1;
    case sound::DecodedWave::Format::S16:
        return 2;
    case sound::DecodedWave::Format::S32:
    case sound::DecodedWave::Format::F32:
        return 4;
    }
    return 4;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray sanitised = bytes;
    sound::SanitizeWave(sanitised);

    // The sound server's path: decoded in the file's own rate and channels,
    // with no device, and no larger than the bound for that format.
    QString why;
    if (const auto wave = sound::DecodeWave(bytes, &why)) {
        const auto own = sound::ConvertedWaveBytes(sanitised, wave->rate, wave->channels * SampleBytes(wave->format));
        if (!own || qint64{wave->samples.size()} > *own) {
            std::fprintf(stderr, "fuzz_wave: the decoder made %lld bytes of a file bounded at %lld\n",
                         static_cast<long long>(wave->samples.size()), static_cast<long long>(own.value_or(-1)));
            std::abort();
        }
    }

    Mix_Chunk* chunk = sound::LoadWaveChunk(bytes, &why);
    if (!chunk)
        return 0;
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const auto bound = sound::ConvertedWaveBytes(sanitised, rate, channels * (SDL_AUDIO_BITSIZE(format) / 8));
    if (!bound || qint64{chunk->alen} > *bound) {
        std::fprintf(stderr, "fuzz_wave: the mixer made %u bytes of a file bounded at %lld\n", chunk->alen,
                     static_cast<long long>(bound.value_or(-1)));
        std::abort();
    }
    Mix_FreeChunk(chunk);
    return 0;
}
