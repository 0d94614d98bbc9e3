// The two wave files through the path every sound request takes: the bytes are
// sanitised, then decoded by the mixer into the open device's format. The
// mixer is opened once, as the program opens it, on SDL's dummy device. What
// the mixer makes of a file never exceeds the bound the service checks first.
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Mix_Chunk* chunk = sound::LoadWaveChunk(bytes);
    if (!chunk)
        return 0;

    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    QByteArray sanitised = bytes;
    sound::SanitizeWave(sanitised);
    const auto bound = sound::ConvertedWaveBytes(sanitised, rate, channels * (SDL_AUDIO_BITSIZE(format) / 8));
    if (!bound || qint64{chunk->alen} > *bound) {
        std::fprintf(stderr, "fuzz_wave: the mixer made %u bytes of a file bounded at %lld\n", chunk->alen,
                     static_cast<long long>(bound.value_or(-1)));
        std::abort();
    }
    Mix_FreeChunk(chunk);
    return 0;
}
