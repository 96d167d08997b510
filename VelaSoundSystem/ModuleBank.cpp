#include "VelaSoundSystem/SoundSystem.h"

// The module bank: one TVelaXM player per slot, rendered once per block and
// added into the mix at the module group volume.
//
// MODULE BANK GAP: the module player (TVelaXM, TVelaXMModule) is not yet part
// of this repository. Until it is, no slot can hold a player: LoadModule
// empties the slot and fails, and the other operations see an empty slot.
// Once VelaXM/VelaXM.h exists, this file gets the real bodies:
//   LoadModule: free the slot; create TVelaXM (SampleRate, 16 bits, stereo,
//     one buffer, BufferSamples frames) in memory-buffer mode; load with
//     TVelaXMModule.Load when Data is not null and Size > 0; on success set
//     MixAmplification 256, LoopSong = Loop, Interpolation = 1..3 or else 0;
//     on failure free the player.
//   StartModule: Play(); StopModule: Stop(); IsModulePlaying: Playing.
//   mixModules: for each playing player, Render() then MixInto(MixBuffer,
//     ModuleVolume), i.e. v >> 12, scaled by ModuleVolume when not 4096.
//   freeModule: delete the player.

void TVelaSoundSystem::freeModule(int32_t Slot)
{
    // MODULE BANK GAP: slots never hold a player yet, so there is nothing to
    // delete (and TVelaXM is still an incomplete type here).
    ModuleSlots[Slot] = nullptr;
}

bool TVelaSoundSystem::LoadModule(uint8_t Slot, const void* Data, int32_t Size, bool Loop, int32_t Interpolation)
{
    TVelaLockGuard guard(Lock);
    freeModule(Slot);
    (void)Data;
    (void)Size;
    (void)Loop;
    (void)Interpolation;
    return false; // MODULE BANK GAP
}

bool TVelaSoundSystem::StartModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    return ModuleSlots[Slot] != nullptr && false; // MODULE BANK GAP: TVelaXM::Play
}

bool TVelaSoundSystem::StopModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    return ModuleSlots[Slot] != nullptr; // MODULE BANK GAP: TVelaXM::Stop first
}

bool TVelaSoundSystem::IsModulePlaying(uint8_t Slot) const
{
    return ModuleSlots[Slot] != nullptr && false; // MODULE BANK GAP: TVelaXM::Playing
}

void TVelaSoundSystem::mixModules()
{
    // MODULE BANK GAP: render each playing player and add its block here.
}
