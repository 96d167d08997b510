#include "VelaSoundSystem/AudioOutput.h"

#include <cstring>

#include "VelaSoundSystem/SoundSystem.h"

TAudioOutput::TAudioOutput(TVelaSoundSystem& Sound, const TSharedWord<int32_t>& AssetsLoaded)
    : BlockPosition(Sound.OutputBytes), sound_(Sound), assetsLoaded_(AssetsLoaded)
{}

void TAudioOutput::SetApplyMusicRequestHook(TBlockHook Hook, void* Context)
{
    applyMusicRequest_ = Hook;
    hookContext_ = Context;
}

void TAudioOutput::startBlock()
{
    BlockPosition = 0;
    // Paused, the game's music step waits too: a request taken now would start
    // its sound ahead of the moment it belongs to.
    if (assetsLoaded_.Load() != 0 && !sound_.IsPaused()) {
        // The game's music step: the music request of this block is applied
        // here, right before the block is mixed.
        if (applyMusicRequest_ != nullptr) {
            applyMusicRequest_(hookContext_);
        }
        sound_.MixBlock();
    } else {
        std::memset(sound_.OutputBuffer.get(), 0, static_cast<size_t>(sound_.OutputBytes));
    }
}

void TAudioOutput::Fill(uint8_t* Stream, int32_t Length)
{
    const int32_t blockBytes = sound_.OutputBytes;
    if (blockBytes <= 0) {
        // No block to hand out: deliver silence rather than spin.
        std::memset(Stream, 0, Length > 0 ? static_cast<size_t>(Length) : 0);
        return;
    }
    int32_t written = 0;
    try {
        while (Length > 0) {
            if (BlockPosition >= blockBytes) {
                startBlock();
            }
            const int32_t n = blockBytes - BlockPosition < Length ? blockBytes - BlockPosition : Length;
            std::memcpy(Stream + written, sound_.OutputBuffer.get() + BlockPosition, static_cast<size_t>(n));
            BlockPosition += n;
            written += n;
            Length -= n;
        }
    } catch (...) {
        // Nothing may escape into the device's thread; the rest of the
        // stream stays as the device handed it over.
    }
}
