#include "VelaSoundSystem/SlotLoad.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"

// The module bank: one TVelaXM player per slot, rendered once per block and
// added into the mix at the module group volume.

bool TVelaSoundSystem::LoadModule(uint8_t Slot, const void* Data, int32_t Size, bool Loop,
                                  velaxm::Interpolation Interpolation)
{
    TVelaLockGuard guard(Lock);
    ModuleSlots[Slot].reset();
    const auto load = [&](TVelaXM& player) {
        return Data != nullptr && Size > 0 && player.Module->Load(Data, static_cast<uint32_t>(Size));
    };
    // The players always mix stereo blocks of the system's length; a mono output is folded afterwards.
    std::unique_ptr<TVelaXM> player = vss::MakeLoaded<TVelaXM>(load, SampleRate, true, BufferSamples);
    if (player == nullptr) {
        return false;
    }
    player->Module->MixAmplification = 256;
    player->LoopSong = Loop;
    player->Interpolation = velaxm::InterpolationFromNumber(Interpolation);
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
    return player != nullptr && player->Playing();
}

void TVelaSoundSystem::mixModules()
{
    for (const auto& player : ModuleSlots) {
        if (player != nullptr && player->Playing()) {
            player->Render();
            // The player's block carries 12 fraction bits; MixInto drops them
            // and applies the group volume.
            player->MixInto(MixBuffer.get(), ModuleVolume);
        }
    }
}
