#include "VelaSoundSystem/SlotLoad.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"

// The module bank: one TVelaXM player per slot, rendered once per block and
// added into the mix at the module group volume.

bool TVelaSoundSystem::LoadModule(uint8_t Slot, const void* Data, int32_t Size, bool Loop, int32_t Interpolation)
{
    TVelaLockGuard guard(Lock);
    ModuleSlots[Slot].reset();
    const auto load = [&](TVelaXM& player) {
        return Data != nullptr && Size > 0 && player.Module->Load(Data, static_cast<uint32_t>(Size));
    };
    // Memory-buffer mode: 16 bits, stereo, one buffer of one block.
    std::unique_ptr<TVelaXM> player = vss::MakeLoaded<TVelaXM>(load, SampleRate, 0, 16, 0, true, 1, BufferSamples);
    if (player == nullptr) {
        return false;
    }
    player->Module->MixAmplification = 256;
    player->LoopSong = Loop;
    player->Interpolation = Interpolation >= 1 && Interpolation <= 3 ? static_cast<uint8_t>(Interpolation) : 0;
    ModuleSlots[Slot] = std::move(player);
    return true;
}

bool TVelaSoundSystem::StartModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    TVelaXM* player = ModuleSlots[Slot].get();
    return player != nullptr && player->Play();
}

bool TVelaSoundSystem::StopModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    TVelaXM* player = ModuleSlots[Slot].get();
    if (player == nullptr) {
        return false;
    }
    player->Stop();
    return true;
}

bool TVelaSoundSystem::IsModulePlaying(uint8_t Slot) const
{
    const TVelaXM* player = ModuleSlots[Slot].get();
    return player != nullptr && player->Playing;
}

void TVelaSoundSystem::mixModules()
{
    for (const auto& player : ModuleSlots) {
        if (player != nullptr && player->Playing) {
            player->Render();
            // The player's block carries 12 fraction bits; MixInto drops them
            // and applies the group volume.
            player->MixInto(MixBuffer.get(), ModuleVolume);
        }
    }
}
