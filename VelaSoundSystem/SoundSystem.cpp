#include "VelaSoundSystem/SoundSystem.h"

#include <cmath>
#include <cstring>

#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/Music.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SlotLoad.h"
#include "VelaXM/VelaXM.h"

// Construction, the sample and music banks and the group volumes. The module
// bank lives in ModuleBank.cpp, the block mix in SoundMix.cpp.

namespace {

void fillCubicTable(std::array<int32_t, 4>* Table)
{
    for (int32_t i = 0; i < 4096; ++i) {
        const double t = i / 4096.0;
        const double t2 = t * t;
        const double t3 = t2 * t;
        Table[i][0] = static_cast<int32_t>(std::nearbyint((-0.5 * t3 + t2 - 0.5 * t) * 4096.0));
        Table[i][1] = static_cast<int32_t>(std::nearbyint((1.5 * t3 - 2.5 * t2 + 1.0) * 4096.0));
        Table[i][2] = static_cast<int32_t>(std::nearbyint((-1.5 * t3 + 2.0 * t2 + 0.5 * t) * 4096.0));
        Table[i][3] = static_cast<int32_t>(std::nearbyint((0.5 * t3 - 0.5 * t2) * 4096.0));
    }
}

} // namespace

TVelaSoundSystem::TVelaSoundSystem(int32_t NewSampleRate, int32_t NewChannels, int32_t NewBits,
                                   int32_t NewBufferSamples)
    // The mix is built for 1 or 2 channels; a rate or block length below 1
    // would divide by zero or size nothing.
    : SampleRate(NewSampleRate < 1 ? 1 : NewSampleRate), Channels(NewChannels == 1 ? 1 : 2),
      Bits(NewBits < 0 ? 0 : (NewBits > 32 ? 32 : NewBits)), BufferSamples(NewBufferSamples < 1 ? 1 : NewBufferSamples)
{
    MixValues = BufferSamples * 2;
    OutputValues = BufferSamples * Channels;
    MixBytes = BufferSamples * 8;
    OutputBytes = (BufferSamples * Channels * Bits) >> 3;
    MixBuffer = std::make_unique<int32_t[]>(MixValues);
    // Room for a full 16-bit stereo block whatever the format, so that the
    // conversion can never write past the end.
    OutputBuffer = std::make_unique<uint8_t[]>(BufferSamples * 4 > OutputBytes ? BufferSamples * 4 : OutputBytes);
    MusicRampFrames = 5292000 / SampleRate;
    MusicRampFrames = MusicRampFrames < 1 ? 1 : MusicRampFrames;
    AutoGainRecoverFrames = static_cast<int32_t>(int64_t(SampleRate) * 25 / 1000);
    AutoGainRecoverFrames = AutoGainRecoverFrames < 1 ? 1 : AutoGainRecoverFrames;
    CubicTable = std::make_unique<std::array<int32_t, 4>[]>(4096);
    fillCubicTable(CubicTable.get());
}

TVelaSoundSystem::~TVelaSoundSystem()
{
    // The banks go first, bank by bank, while the buffers and the lock they may use still exist.
    for (auto& sample : SampleSlots) {
        sample.reset();
    }
    for (auto& player : ModuleSlots) {
        player.reset();
    }
    for (auto& music : MusicSlots) {
        music.reset();
    }
}

void TVelaSoundSystem::SetModuleVolume(float Volume)
{
    TVelaLockGuard guard(Lock);
    ModuleVolume = vss::RoundToFixed(Volume, 4096.0);
}

void TVelaSoundSystem::SetSampleVolume(float Volume)
{
    TVelaLockGuard guard(Lock);
    SampleVolume = vss::RoundToFixed(Volume, 4096.0);
}

void TVelaSoundSystem::SetStreamVolume(float Volume)
{
    TVelaLockGuard guard(Lock);
    MusicVolume = vss::RoundToFixed(Volume, 4096.0);
}

void TVelaSoundSystem::SetPaused(bool NewPaused)
{
    // Under the lock, so a block being mixed finishes before the pause holds.
    TVelaLockGuard guard(Lock);
    Paused.Store(NewPaused);
}

void TVelaSoundSystem::SetAutoGain(bool Enabled)
{
    TVelaLockGuard guard(Lock);
    AutoGain = Enabled;
}

bool TVelaSoundSystem::LoadSample(uint8_t Slot, const void* Data, int32_t Size, int32_t Voices)
{
    TVelaLockGuard guard(Lock);
    SampleSlots[Slot].reset();
    if (Data == nullptr || Size <= 3) {
        return false;
    }
    const auto load = [&](TVSSSample& sample) {
        sample.SetVoiceCount(Voices);
        return sample.Load(static_cast<const uint8_t*>(Data), Size);
    };
    SampleSlots[Slot] = vss::MakeLoaded<TVSSSample>(load, this);
    return SampleSlots[Slot] != nullptr;
}

int32_t TVelaSoundSystem::PlaySample(uint8_t Slot, float Volume, float Panning, float Speed)
{
    TVelaLockGuard guard(Lock);
    TVSSSample* sample = SampleSlots[Slot].get();
    if (sample == nullptr) {
        return -1;
    }
    const int32_t voice = sample->ChooseVoice();
    if (voice < 0) {
        return -1;
    }
    sample->Voices[voice]->Start(vss::RoundToFixed(Volume, 65536.0), vss::RoundToFixed(Panning, 65536.0),
                                 vss::RoundToFixed(Speed, 65536.0));
    return voice;
}

bool TVelaSoundSystem::IsSamplePlaying(uint8_t Slot) const
{
    const TVSSSample* sample = SampleSlots[Slot].get();
    if (sample == nullptr) {
        return false;
    }
    for (const auto& voice : sample->Voices) {
        if (voice->Active.Load()) {
            return true;
        }
    }
    return false;
}

void TVelaSoundSystem::StopSampleVoice(uint8_t Slot, int32_t Voice)
{
    TVelaLockGuard guard(Lock);
    TVSSSample* sample = SampleSlots[Slot].get();
    if (sample != nullptr && Voice >= 0 && Voice < static_cast<int32_t>(sample->Voices.size())) {
        sample->Voices[Voice]->Active.Store(false);
    }
}

bool TVelaSoundSystem::LoadMusic(uint8_t Slot, const void* Data, int32_t Size)
{
    TVelaLockGuard guard(Lock);
    MusicSlots[Slot].reset();
    if (Data == nullptr || Size <= 0) {
        return false;
    }
    const auto open = [&](TVSSOGG& music) { return music.Open(this, static_cast<const uint8_t*>(Data), Size); };
    MusicSlots[Slot] = vss::MakeLoaded<TVSSOGG>(open);
    return MusicSlots[Slot] != nullptr;
}

bool TVelaSoundSystem::PlayMusic(uint8_t Slot, bool Loop, float Volume, float Panning, float Speed)
{
    TVelaLockGuard guard(Lock);
    TVSSOGG* music = MusicSlots[Slot].get();
    if (music == nullptr) {
        return false;
    }
    music->Start(Loop, vss::RoundToFixed(Volume, 65536.0), vss::RoundToFixed(Panning, 65536.0),
                 vss::RoundToFixed(Speed, 65536.0));
    return true;
}

bool TVelaSoundSystem::StopMusic(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    TVSSOGG* music = MusicSlots[Slot].get();
    if (music == nullptr) {
        return false;
    }
    music->Stop();
    return true;
}

bool TVelaSoundSystem::IsMusicPlaying(uint8_t Slot) const
{
    const TVSSOGG* music = MusicSlots[Slot].get();
    return music != nullptr && music->Playing.Load();
}

void TVelaSoundSystem::SetMusicVolume(uint8_t Slot, float Volume)
{
    TVelaLockGuard guard(Lock);
    TVSSOGG* music = MusicSlots[Slot].get();
    if (music != nullptr) {
        music->SetVolume(vss::RoundToFixed(Volume, 65536.0), MusicRampFrames);
    }
}
