#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "VelaBase/CriticalSection.h"
#include "VelaBase/SharedWord.h"
#include "VelaXM/Interpolation.h"

class TVSSSample;
class TVSSOGG;
class TVelaXM;

// The one audio mixer: 256 sample slots, 256 module-player slots and 256
// music slots, mixed block by block into a 32-bit stereo buffer, then scaled,
// limited (or clamped), folded to mono if asked and converted to 8 or 16 bits.
// Every operation that changes state holds Lock for its whole duration.
class TVelaSoundSystem {
public:
    // Slots per bank.
    static constexpr int32_t SlotCount = 256;
    // Most voices a sample may own: with every slot full at this count, the
    // voices, their tails and all music slots still sum inside 32 bits.
    static constexpr int32_t MaxVoicesPerSample = 64;
    // Most frames a decoded sample may hold (about six minutes at 44100 Hz).
    static constexpr int64_t MaxSampleFrames = int64_t(1) << 24;
    // Largest step of a sample voice (32.32): 16384 source frames per output frame.
    static constexpr int64_t MaxVoiceStep = int64_t(1) << 46;

    // Creates the mixer for the given output format and block length.
    TVelaSoundSystem(int32_t SampleRate, int32_t Channels, int32_t Bits, int32_t BufferSamples);
    // Frees everything in the banks; the audio output must be stopped first.
    ~TVelaSoundSystem();
    TVelaSoundSystem(const TVelaSoundSystem&) = delete;
    TVelaSoundSystem& operator=(const TVelaSoundSystem&) = delete;

    // Group volume of all module players (1.0 = unity).
    void SetModuleVolume(float Volume);
    // Group volume of all sample voices (1.0 = unity).
    void SetSampleVolume(float Volume);
    // Group volume of all music streams (1.0 = unity).
    void SetStreamVolume(float Volume);
    // Paused, every block is silence and no player, stream or voice moves on,
    // so playing resumes exactly where it stopped; takes effect at the next block.
    void SetPaused(bool Paused);
    // Whether blocks are paused (no lock).
    bool IsPaused() const { return Paused.Load(); }
    // Switches the auto-gain limiter on (else the mix is clamped).
    void SetAutoGain(bool Enabled);
    // Mixes one block of BufferSamples frames into OutputBuffer.
    void MixBlock();

    // Replaces a sample slot with a sample decoded from WAVE or Ogg Vorbis data.
    bool LoadSample(uint8_t Slot, const void* Data, int32_t Size, int32_t Voices);
    // Starts a voice of the slot's sample; the voice index, or -1.
    int32_t PlaySample(uint8_t Slot, float Volume, float Panning, float Speed);
    // Whether any voice of the slot's sample is playing (no lock).
    bool IsSamplePlaying(uint8_t Slot) const;
    // Silences one voice of the slot's sample at once.
    void StopSampleVoice(uint8_t Slot, int32_t Voice);

    // Replaces a module slot with a player loaded from an XM or MOD image.
    bool LoadModule(uint8_t Slot, const void* Data, int32_t Size, bool Loop, velaxm::Interpolation Interpolation);
    // Starts the slot's player from the beginning; false for an empty slot.
    bool StartModule(uint8_t Slot);
    // Stops the slot's player; true when the slot holds one.
    bool StopModule(uint8_t Slot);
    // The slot's playing flag (no lock).
    bool IsModulePlaying(uint8_t Slot) const;
    // The slot's player for reading what it publishes (no lock), or null for an empty slot.
    const TVelaXM* FindModule(uint8_t Slot) const { return ModuleSlots[Slot].get(); }
    // The same, for taking the latches a player publishes (atomic, no lock).
    TVelaXM* FindModule(uint8_t Slot) { return ModuleSlots[Slot].get(); }
    // Runs Edit(TVelaXM&) on the slot's player under the lock, so between two
    // mixed blocks; false (and Edit not run) for an empty slot. Edit may call
    // this system's other operations.
    template <class F>
    bool EditModule(uint8_t Slot, F&& Edit)
    {
        TVelaLockGuard guard(Lock);
        TVelaXM* player = ModuleSlots[Slot].get();
        if (player == nullptr)
            return false;
        Edit(*player);
        return true;
    }

    // Replaces a music slot with a stream over a copy of Ogg Vorbis data.
    bool LoadMusic(uint8_t Slot, const void* Data, int32_t Size);
    // (Re)starts the slot's stream from its beginning; false for an empty slot.
    bool PlayMusic(uint8_t Slot, bool Loop, float Volume, float Panning, float Speed);
    // Stops the slot's stream, its remainder fading through the tail.
    bool StopMusic(uint8_t Slot);
    // The stream's playing flag (no lock).
    bool IsMusicPlaying(uint8_t Slot) const;
    // Moves the stream's volume to Volume over MusicRampFrames frames.
    void SetMusicVolume(uint8_t Slot, float Volume);

    std::array<std::unique_ptr<TVSSSample>, SlotCount> SampleSlots; // null = empty
    std::array<std::unique_ptr<TVelaXM>, SlotCount> ModuleSlots;    // null = empty
    std::array<std::unique_ptr<TVSSOGG>, SlotCount> MusicSlots;     // null = empty

    int32_t SampleRate;                      // output frames per second
    int32_t Channels;                        // output channels, 1 or 2
    int32_t Bits;                            // output sample width, 8 or 16
    int32_t BufferSamples;                   // frames per block
    int32_t MixValues;                       // values in MixBuffer (always stereo)
    int32_t OutputValues;                    // values in OutputBuffer
    int32_t MixBytes;                        // bytes in MixBuffer
    int32_t OutputBytes;                     // bytes in OutputBuffer (4096 for 1024 frames of 16-bit stereo)
    std::unique_ptr<int32_t[]> MixBuffer;    // interleaved left, right
    std::unique_ptr<uint8_t[]> OutputBuffer; // the converted block for the audio output
    int32_t MasterVolume = 4096;             // x 4096, whole mix
    int32_t SampleVolume = 4096;             // x 4096, all sample voices
    int32_t MusicVolume = 4096;              // x 4096, all music slots
    int32_t ModuleVolume = 4096;             // x 4096, all module players
    int32_t MusicRampFrames;                 // frames of a SetMusicVolume ramp (120 at 44100)
    bool AutoGain = true;                    // limiter on, else clamp
    TSharedWord<bool> Paused{false};         // blocks are silence and nothing advances
    int32_t AutoGainLevel = 256;             // x 256, current limiter gain
    int32_t AutoGainCounter = 0;             // clean frames since the last clipped one
    int32_t AutoGainRecoverFrames;           // clean frames per step of recovery (25 ms)
    std::unique_ptr<std::array<int32_t, 4>[]> CubicTable; // 4096 Catmull-Rom rows, x 4096

private:
    mutable TVelaCriticalSection Lock; // held by every operation that changes state and by MixBlock
    void mixSamples();
    void mixModules();
    void mixMusic();
    void applyMasterVolume();
    void limitWithAutoGain();
    void clampMix();
    void foldToMono();
    void convertOutput();
};
