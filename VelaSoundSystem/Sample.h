#pragma once

#include "VelaBase/SharedWord.h"
#include <cstdint>
#include <memory>
#include <vector>

class TVelaSoundSystem;
class TVSSSample;

// Loop modes of a sample's normal and sustain loops.
enum : int32_t { LoopNone = 0, LoopForward = 1, LoopPingPong = 2, LoopBackward = 3 };

// One playing instance of a sample with its own position, speed, volume and
// panning; it leaves a short decaying tail behind when cut, so nothing clicks.
class TVSSSampleVoice {
public:
    // Creates an inactive voice of Owner.
    explicit TVSSSampleVoice(TVSSSample* Owner) : Sample(Owner) {}

    // Starts from frame 0 at the given 16.16 volume, panning and speed; the
    // sound being cut moves into the tail.
    void Start(int32_t NewVolume, int32_t NewPanning, int32_t Speed16);
    // Adds one block of Frames stereo frames into Mix at group volume Group (x 4096).
    void MixInto(int32_t* Mix, int32_t Frames, int32_t Group);

    TVSSSample* Sample;              // the owner
    TSharedWord<bool> Active{false}; // playing; read without the lock by IsSamplePlaying
    bool Released = false;           // the sustain loop has been left
    bool Backwards = false;          // the position moves toward lower frames
    int32_t Volume = 0;              // 16.16, 65536 = 1.0
    int32_t Panning = 0;             // 16.16, -65536 left .. 65536 right
    uint64_t Age = 0;                // frames rendered since the start
    int64_t Position = 0;            // 32.32 frame index and fraction
    int64_t Step = 0;                // 32.32 frames advanced per output frame
    int32_t TailLeft = 0;            // declick accumulators, x 4096
    int32_t TailRight = 0;           // the same for the right side
    int32_t LastLeft = 0;            // last value added to the mix, x 4096
    int32_t LastRight = 0;           // the same for the right side

private:
    int32_t runLength(int32_t FramesLeft);
    void wrapIntoLoop(int32_t Mode, int64_t LoopStart, int64_t LoopEnd);
};

// Decoded frames of a sample before they move into guarded storage.
struct TVSSDecodedSample {
    std::vector<int32_t> Frames; // interleaved stereo, 16-bit range
    int32_t SampleRate = 0;      // frames per second
    int32_t LoopMode = LoopNone; // normal loop: mode, first frame, first frame past it
    int32_t LoopStart = 0;
    int32_t LoopEnd = 0;
    int32_t SustainMode = LoopNone; // sustain loop, the same way
    int32_t SustainStart = 0;
    int32_t SustainEnd = 0;
};

// A sound held completely in memory as stereo int32 frames, with guard frames
// on both sides so interpolation and loop wrap-around never need bounds tests.
class TVSSSample {
public:
    // Guard frames on each side of the data.
    static constexpr int32_t GuardFrames = 1024;

    // Creates an empty sample of Owner.
    explicit TVSSSample(TVelaSoundSystem* Owner) : Owner(Owner) {}
    ~TVSSSample();
    TVSSSample(const TVSSSample&) = delete;
    TVSSSample& operator=(const TVSSSample&) = delete;

    // Replaces the voices with Count fresh inactive ones.
    void SetVoiceCount(int32_t Count);
    // Decodes a RIFF WAVE or Ogg Vorbis image; false leaves the sample empty.
    bool Load(const uint8_t* Bytes, int32_t Size);
    // Index of the voice a new sound takes: a free one, else the oldest.
    int32_t ChooseVoice() const;

    TVelaSoundSystem* Owner;                              // not owned
    int32_t* Data = nullptr;                              // frame 0 of the stereo frames; null until decoded
    int32_t Length = 0;                                   // frames
    int32_t SampleRate = 0;                               // frames per second of the data
    int32_t LoopMode = LoopNone;                          // normal loop mode
    int32_t LoopStart = 0;                                // first frame of the loop
    int32_t LoopEnd = 0;                                  // first frame past the loop
    int32_t SustainMode = LoopNone;                       // sustain loop mode (no operation releases it here)
    int32_t SustainStart = 0;                             // first frame of the sustain loop
    int32_t SustainEnd = 0;                               // first frame past the sustain loop
    std::vector<std::unique_ptr<TVSSSampleVoice>> Voices; // owned

private:
    void takeFrames(TVSSDecodedSample& Decoded);
    void prepareGuardFrames();

    std::unique_ptr<int32_t[]> storage_;
};

// Decoders: fill Decoded from a whole file image, or return false.
bool DecodeOggSample(const uint8_t* Bytes, int32_t Size, TVSSDecodedSample& Decoded);
bool DecodeWaveSample(const uint8_t* Bytes, int32_t Size, TVSSDecodedSample& Decoded);
