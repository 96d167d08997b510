#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A volume or panning envelope: up to 12 points of (tick, value 0..255).
struct TVelaXMEnvelope {
    static constexpr int32_t kMaxPoints = 12;

    struct TPoint {
        int32_t X = 0; // position in ticks
        int32_t Y = 0; // value 0..255
    };

    // Switches everything off and zeroes the points.
    void Clear() { *this = TVelaXMEnvelope{}; }

    bool Enabled = false;                        // the envelope shapes the voice
    bool LoopEnabled = false;                    // LoopEnd jumps back to LoopStart
    bool SustainEnabled = false;                 // the envelope holds at SustainPoint while the key is down
    std::array<TPoint, kMaxPoints + 1> Points{}; // NumPoints of them are used
    int32_t NumPoints = 0;                       // points in use, 0..12
    int32_t LoopStart = 0;                       // point index
    int32_t LoopEnd = 0;                         // point index
    int32_t SustainPoint = 0;                    // point index
};

// One sample: 16-bit values, stereo interleaved, with spare values around the
// frames so that the interpolating mixer may read past both ends.
class TVelaXMSample {
public:
    static constexpr int32_t kSpareValues = 8; // zeroed values in front of and behind the data
    static constexpr int32_t kGuardFrames = 4; // frames at each end that mirror the edge

    // Allocates Length x Channels zeroed values plus the spare values.
    void Allocate(int32_t Frames, int32_t ChannelCount);
    // First value of frame 0 (the spare values sit in front of it).
    int16_t* Frames() { return Data.data() + kSpareValues; }
    const int16_t* Frames() const { return Data.data() + kSpareValues; }
    // Writes the edge guards and, for a usable loop, the loop guards.
    void WriteGuards();
    // Number of frames that hold data (0 when nothing is allocated).
    bool HasData() const { return !Data.empty() && Length > 0; }

    std::string Name;                                                   // trimmed sample name
    std::vector<int16_t> Data = std::vector<int16_t>(2 * kSpareValues); // (Length x Channels + 16) values
    int32_t Length = 0;                                                 // frames
    int32_t LoopStart = 0;                                              // frames
    int32_t LoopLength = 0;                                             // frames
    int32_t Bits = 8;                                                   // 8 or 16 bits in the file
    int32_t Channels = 1;                                               // 1 mono, 2 stereo
    bool ADPCM = false;                                                 // the file held 4-bit ADPCM data
    bool Loop = false;                                                  // the sample loops
    bool PingPongLoop = false;                                          // the loop runs back and forth
    int32_t Volume = 64;                                                // 0..64
    bool UsePanning = true;                                             // a note trigger takes Panning
    int32_t Panning = 128;                                              // 0..255
    int32_t RelativeNote = 0;                                           // semitones added to the played note
    int32_t Finetune = 0;                                               // -128..127
};

// An instrument: up to 256 samples, a note-to-sample map, two envelopes,
// fade-out and auto-vibrato.
class TVelaXMInstrument {
public:
    // Frees the samples and zeroes map, envelopes, fade-out and vibrato.
    void Reset();

    std::string Name;                                        // trimmed instrument name
    std::array<std::unique_ptr<TVelaXMSample>, 256> Samples; // by sample number
    std::array<uint8_t, 96> SampleMap{};                     // entry n-1: sample number for note n
    TVelaXMEnvelope VolumeEnvelope;                          // volume envelope, 0..64
    TVelaXMEnvelope PanningEnvelope;                         // panning envelope, 0..64 (32 centre)
    int32_t Fadeout = 0;                                     // fade-out per tick after key off (x2), 65536 = instant
    int32_t VibratoType = 0;                                 // auto-vibrato waveform 0..3
    int32_t VibratoSweep = 0;                                // ticks to reach full depth
    int32_t VibratoDepth = 0;                                // auto-vibrato depth
    int32_t VibratoRate = 0;                                 // auto-vibrato speed
};
