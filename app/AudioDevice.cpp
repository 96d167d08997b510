// The SDL audio callback: a shim that hands the device the sound system's
// blocks; the game's music step runs at each block boundary.
#include "app/AudioDevice.h"

#include "DataManager/Assets.h"
#include "VelaSoundSystem/AudioFormat.h"
#include "VelaSoundSystem/AudioOutput.h"
#include "game/MusicPlayback.h"

#include <SDL/SDL.h>

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<TAudioOutput> output;

void audioCallback(void* /*user*/, Uint8* stream, int length) { output->Fill(stream, length); }

void applyMusicRequest(void* /*context*/) { ApplyMusicRequest(); }

} // namespace

void OpenAudioDevice(TVelaSoundSystem& sound)
{
    // The block position starts at the block's end, so the first callback mixes afresh.
    output = std::make_unique<TAudioOutput>(sound, AssetsLoaded);
    output->SetApplyMusicRequestHook(applyMusicRequest, nullptr);
    SDL_AudioSpec spec;
    std::memset(&spec, 0, sizeof spec);
    using Format = vss::TAudioFormat;
    static_assert(Format::Bits == 16, "the device format below is signed 16-bit little-endian");
    spec.freq = Format::Rate;
    spec.format = AUDIO_S16LSB;
    spec.channels = Format::Channels;
    spec.silence = 0;
    spec.samples = Format::BlockFrames;
    spec.size = Format::BlockBytes;
    spec.callback = audioCallback;
    SDL_OpenAudio(&spec, nullptr);
    SDL_PauseAudio(1);
}

void PauseAudioDevice(bool paused) { SDL_PauseAudio(paused ? 1 : 0); }

void CloseAudioDevice()
{
    SDL_CloseAudio();
    output.reset();
}
