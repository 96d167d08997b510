#include <cstring>

#include "VelaSoundSystem/Music.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

// One block of the mix: sources into the 32-bit stereo buffer, then master
// volume, the limiter or the clamp, the mono fold and the output conversion.

void TVelaSoundSystem::MixBlock()
{
    TVelaLockGuard guard(Lock);
    if (Paused.Load()) {
        std::memset(OutputBuffer.get(), 0, static_cast<size_t>(OutputBytes));
        return;
    }
    std::memset(MixBuffer.get(), 0, static_cast<size_t>(MixBytes));
    mixSamples();
    mixModules();
    mixMusic();
    applyMasterVolume();
    if (AutoGain) {
        limitWithAutoGain();
    } else {
        clampMix();
    }
    foldToMono();
    convertOutput();
}

void TVelaSoundSystem::mixSamples()
{
    for (const auto& sample : SampleSlots) {
        if (sample == nullptr || sample->Data == nullptr) {
            continue;
        }
        for (auto& voice : sample->Voices) {
            voice->MixInto(MixBuffer.get(), BufferSamples, SampleVolume);
        }
    }
}

void TVelaSoundSystem::mixMusic()
{
    for (const auto& music : MusicSlots) {
        if (music != nullptr) {
            music->MixInto(MixBuffer.get(), BufferSamples, MusicVolume);
        }
    }
}

void TVelaSoundSystem::applyMasterVolume()
{
    if (MasterVolume == 4096) {
        return;
    }
    int32_t* mix = MixBuffer.get();
    for (int32_t i = 0; i < MixValues; ++i) {
        mix[i] = static_cast<int32_t>((int64_t(mix[i]) * MasterVolume) >> 12);
    }
}

namespace {

inline int32_t clamp16(int64_t Value)
{
    return static_cast<int32_t>(Value < -32768 ? -32768 : (Value > 32767 ? 32767 : Value));
}

} // namespace

void TVelaSoundSystem::limitWithAutoGain()
{
    // Every clipped frame lowers the gain by 1/256; 25 ms without clipping
    // raise it by 1/256 again, never above unity.
    int32_t* mix = MixBuffer.get();
    for (int32_t i = 0; i < BufferSamples; ++i) {
        const int64_t a = (int64_t(mix[2 * i]) * AutoGainLevel) >> 8;
        const int64_t c = (int64_t(mix[2 * i + 1]) * AutoGainLevel) >> 8;
        mix[2 * i] = clamp16(a);
        mix[2 * i + 1] = clamp16(c);
        if (a != mix[2 * i] || c != mix[2 * i + 1]) {
            --AutoGainLevel;
            AutoGainCounter = 0;
        } else if (AutoGainLevel < 256) {
            if (++AutoGainCounter >= AutoGainRecoverFrames) {
                AutoGainCounter = 0;
                ++AutoGainLevel;
            }
        }
    }
}

void TVelaSoundSystem::clampMix()
{
    int32_t* mix = MixBuffer.get();
    for (int32_t i = 0; i < MixValues; ++i) {
        mix[i] = clamp16(mix[i]);
    }
}

void TVelaSoundSystem::foldToMono()
{
    if (Channels != 1) {
        return;
    }
    int32_t* mix = MixBuffer.get();
    for (int32_t i = 0; i < BufferSamples; ++i) {
        mix[i] = (mix[2 * i] + mix[2 * i + 1]) >> 1;
    }
}

void TVelaSoundSystem::convertOutput()
{
    const int32_t* mix = MixBuffer.get();
    uint8_t* out = OutputBuffer.get();
    if (Bits == 8) {
        for (int32_t i = 0; i < OutputValues; ++i) {
            out[i] = static_cast<uint8_t>((mix[i] + 32768) >> 8);
        }
    } else if (Bits == 16) {
        for (int32_t i = 0; i < OutputValues; ++i) {
            const uint16_t v = static_cast<uint16_t>(mix[i]);
            out[2 * i] = static_cast<uint8_t>(v & 0xFF);
            out[2 * i + 1] = static_cast<uint8_t>(v >> 8);
        }
    }
}
