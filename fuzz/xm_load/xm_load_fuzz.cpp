// Feeds arbitrary bytes to the module loader and checks that whatever loads is
// a model the player can walk safely.
#include "VelaXM/VelaXM.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkModel(const TVelaXMModule& m)
{
    require(m.NumChannels >= 0 && m.NumChannels <= 255);
    for (const TVelaXMPattern& p : m.Patterns)
        require(p.Notes.empty() || p.Notes.size() == static_cast<size_t>(p.Rows + 1) * p.Channels);
    for (const auto& instrument : m.Instruments) {
        if (!instrument)
            continue;
        for (const TVelaXMEnvelope* env : {&instrument->VolumeEnvelope, &instrument->PanningEnvelope})
            require(env->NumPoints >= 0 && env->NumPoints <= 12);
        for (const auto& s : instrument->Samples) {
            if (!s)
                continue;
            require(s->Length >= 0);
            require(s->Data.size() == static_cast<size_t>(s->Length) * s->Channels + 16);
            if (s->Loop)
                require(s->LoopStart >= 0 && s->LoopLength > 0 && int64_t(s->LoopStart) + s->LoopLength <= s->Length);
        }
    }
}

// Plays the first second of a loaded module; the last byte picks the
// interpolation, output layout and looping so that every mixing path runs. A
// low output rate keeps the ticks (where the effects live) and cuts the frames.
void renderStart(TVelaXM& player, uint8_t options)
{
    player.Interpolation = velaxm::InterpolationFromNumber(options & 3);
    player.LoopSong = (options & 4) != 0;
    player.Module->MixAmplification = 256;
    player.Play();
    const int32_t blocks = player.SampleRate / player.BufferFrames;
    for (int32_t block = 0; block < blocks; ++block)
        player.Render();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static auto stereo = std::make_unique<TVelaXM>(8000, true, 1024);
    static auto mono = std::make_unique<TVelaXM>(11025, false, 512);
    if (size > 0xFFFFFFFFu)
        return 0;
    const uint8_t options = size > 0 ? data[size - 1] : 0;
    TVelaXM& player = (options & 8) ? *mono : *stereo;
    TVelaXMModule& module = *player.Module;
    if (module.Load(data, static_cast<uint32_t>(size))) {
        checkModel(module);
        renderStart(player, options);
    } else {
        require(!module.Loaded);
    }
    return 0;
}
