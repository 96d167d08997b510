// The audio thread's music step: the game only names the source it wants; the
// starting and stopping happens here, between two mixed blocks.
#include "game/MusicPlayback.h"

#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"
#include "game/GameState.h"

int32_t CurrentMusic = MusicSilence;
bool MusicStarted = false;
std::atomic<int32_t> MusicFrameDrawn{0};

namespace {

enum class TSourceKind { None, Module, Sample, Music };

TSourceKind kindOf(int32_t source)
{
    if (source < 0)
        return TSourceKind::None;
    if (source < 255)
        return TSourceKind::Module;
    if (source >= 512)
        return TSourceKind::Music;
    if (source >= 256)
        return TSourceKind::Sample;
    return TSourceKind::None;
}

// Only the low byte names the slot.
uint8_t slotOf(int32_t source) { return uint8_t(source & 0xFF); }

bool isPlaying(TVelaSoundSystem& sound, int32_t source)
{
    switch (kindOf(source)) {
    case TSourceKind::Module:
        return sound.IsModulePlaying(slotOf(source));
    case TSourceKind::Sample:
        return sound.IsSamplePlaying(slotOf(source));
    case TSourceKind::Music:
        return sound.IsMusicPlaying(slotOf(source));
    default:
        return false;
    }
}

// Rewinds a module without letting it sound.
void rewindModule(TVelaSoundSystem& sound, uint8_t slot)
{
    TVelaLockGuard guard(sound.Lock);
    TVelaXM* player = sound.ModuleSlots[slot].get();
    if (player == nullptr)
        return;
    player->Module->Restart();
    player->Playing = false;
}

void start(TVelaSoundSystem& sound, int32_t source)
{
    const uint8_t slot = slotOf(source);
    switch (kindOf(source)) {
    case TSourceKind::Module:
        rewindModule(sound, slot);
        sound.StartModule(slot);
        break;
    case TSourceKind::Sample:
        sound.PlaySample(slot, 1.0f, 0.0f, 1.0f);
        break;
    case TSourceKind::Music:
        sound.PlayMusic(slot, true, 1.0f, 0.0f, 1.0f);
        break;
    default:
        break;
    }
}

void stop(TVelaSoundSystem& sound, int32_t source)
{
    const uint8_t slot = slotOf(source);
    switch (kindOf(source)) {
    case TSourceKind::Module:
        sound.StopModule(slot);
        rewindModule(sound, slot);
        break;
    case TSourceKind::Sample:
        if (sound.IsSamplePlaying(slot))
            sound.StopSampleVoice(slot, 0);
        break;
    case TSourceKind::Music:
        if (sound.IsMusicPlaying(slot))
            sound.StopMusic(slot);
        break;
    default:
        break;
    }
}

} // namespace

void ResetMusicPlayback()
{
    CurrentMusic = MusicSilence;
    MusicStarted = false;
    MusicFrameDrawn.exchange(0);
}

void ApplyMusicRequest()
{
    if (SoundSystem == nullptr || MusicFrameDrawn.load() == 0)
        return;
    TVelaSoundSystem& sound = *SoundSystem;
    const int32_t request = MusicRequest.load();
    if (request == CurrentMusic) {
        if (!MusicStarted) {
            if (!isPlaying(sound, request))
                start(sound, request);
            MusicStarted = true;
        } else if (kindOf(request) != TSourceKind::Module && kindOf(request) != TSourceKind::None &&
                   !isPlaying(sound, request)) {
            // Menu music and jingles come round again; a module plays once.
            start(sound, request);
        }
        return;
    }
    stop(sound, CurrentMusic);
    CurrentMusic = request;
    if (!isPlaying(sound, request))
        start(sound, request);
    MusicStarted = true;
}
