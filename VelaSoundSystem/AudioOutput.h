#pragma once

#include "VelaBase/SharedWord.h"
#include <cstdint>

class TVelaSoundSystem;

// The bridge between the sound system and a pull-mode audio device: the
// device's callback passes its buffer to Fill, which hands out the sound
// system's OutputBuffer block by block and mixes a new block at every block
// boundary once the assets are loaded, silence before. It knows no device
// library; app/ wires it to the real callback.
class TAudioOutput {
public:
    // The game's per-block step, run just before each mix (ApplyMusicRequest).
    using TBlockHook = void (*)(void* Context);

    // Serves blocks of Sound; AssetsLoaded is the loader's flag (0 = loading).
    TAudioOutput(TVelaSoundSystem& Sound, const TSharedWord<int32_t>& AssetsLoaded);

    // Sets the hook through which the game's ApplyMusicRequest runs at every
    // block boundary after loading; null runs nothing.
    void SetApplyMusicRequestHook(TBlockHook Hook, void* Context);
    // Writes Length bytes of audio to Stream (the device callback's body).
    void Fill(uint8_t* Stream, int32_t Length);

    // Byte offset of the next byte to hand out in OutputBuffer; starts at
    // OutputBytes so that the first call begins a new block.
    int32_t BlockPosition;

private:
    void startBlock();

    TVelaSoundSystem& sound_;
    const TSharedWord<int32_t>& assetsLoaded_;
    TBlockHook applyMusicRequest_ = nullptr;
    void* hookContext_ = nullptr;
};
