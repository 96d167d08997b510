#include "app/AudioDevice.h"

#include <SDL/SDL.h>

#include <cstring>

namespace {

// Until the sound system is wired in, the device plays silence.
void audioCallback(void* /*user*/, Uint8* stream, int length) { std::memset(stream, 0, static_cast<size_t>(length)); }

} // namespace

void OpenAudioDevice()
{
    SDL_AudioSpec spec;
    std::memset(&spec, 0, sizeof spec);
    spec.freq = 44100;
    spec.format = AUDIO_S16LSB;
    spec.channels = 2;
    spec.silence = 0;
    spec.samples = 1024;
    spec.size = 1024 * 4;
    spec.callback = audioCallback;
    SDL_OpenAudio(&spec, nullptr);
    SDL_PauseAudio(1);
}

void PauseAudioDevice(bool paused) { SDL_PauseAudio(paused ? 1 : 0); }

void CloseAudioDevice() { SDL_CloseAudio(); }
