#include "VelaSoundSystem/SoundSystem.h"

// The module bank: one TVelaXM player per slot, rendered once per block and
// added into the mix at the module group volume.
//
// MODULE BANK GAP: the module player (VelaXM/VelaXM.h) reaches this branch
// only when its own branch is merged. Until then no slot can hold a player:
// LoadModule empties the slot and fails, and every other operation sees an
// empty slot. The real bank below switches on by itself once the header is
// there.

#if __has_include("VelaXM/VelaXM.h")

#include <new>

#include "VelaXM/VelaXM.h"

void TVelaSoundSystem::freeModule(int32_t Slot)
{
    delete ModuleSlots[Slot];
    ModuleSlots[Slot] = nullptr;
}

bool TVelaSoundSystem::LoadModule(uint8_t Slot, const void* Data, int32_t Size, bool Loop, int32_t Interpolation)
{
    TVelaLockGuard guard(Lock);
    freeModule(Slot);
    TVelaXM* player = nullptr;
    try {
        // Memory-buffer mode: 16 bits, stereo, one buffer of one block.
        player = new TVelaXM(SampleRate, 0, 16, 0, true, 1, BufferSamples);
        const bool loaded = Data != nullptr && Size > 0 && player->Module->Load(Data, static_cast<uint32_t>(Size));
        if (!loaded) {
            delete player;
            return false;
        }
    } catch (const std::bad_alloc&) {
        delete player;
        return false;
    }
    player->Module->MixAmplification = 256;
    player->LoopSong = Loop;
    player->Interpolation = Interpolation >= 1 && Interpolation <= 3 ? static_cast<uint8_t>(Interpolation) : 0;
    ModuleSlots[Slot] = player;
    return true;
}

bool TVelaSoundSystem::StartModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    TVelaXM* player = ModuleSlots[Slot];
    return player != nullptr && player->Play();
}

bool TVelaSoundSystem::StopModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    TVelaXM* player = ModuleSlots[Slot];
    if (player == nullptr) {
        return false;
    }
    player->Stop();
    return true;
}

bool TVelaSoundSystem::IsModulePlaying(uint8_t Slot) const
{
    const TVelaXM* player = ModuleSlots[Slot];
    return player != nullptr && player->Playing;
}

void TVelaSoundSystem::mixModules()
{
    for (TVelaXM* player : ModuleSlots) {
        if (player != nullptr && player->Playing) {
            player->Render();
            // The player's block carries 12 fraction bits; MixInto drops them
            // and applies the group volume.
            player->MixInto(MixBuffer.get(), ModuleVolume);
        }
    }
}

#else // MODULE BANK GAP

void TVelaSoundSystem::freeModule(int32_t Slot)
{
    ModuleSlots[Slot] = nullptr;
}

bool TVelaSoundSystem::LoadModule(uint8_t Slot, const void*, int32_t, bool, int32_t)
{
    TVelaLockGuard guard(Lock);
    freeModule(Slot);
    return false;
}

bool TVelaSoundSystem::StartModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    (void)Slot;
    return false;
}

bool TVelaSoundSystem::StopModule(uint8_t Slot)
{
    TVelaLockGuard guard(Lock);
    (void)Slot;
    return false;
}

bool TVelaSoundSystem::IsModulePlaying(uint8_t) const
{
    return false;
}

void TVelaSoundSystem::mixModules()
{
}

#endif
