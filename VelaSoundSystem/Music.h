#pragma once

#include <array>
#include "VelaBase/SharedWord.h"
#include <cstdint>
#include <memory>

#include "VelaSoundSystem/OggMemory.h"

class TVelaSoundSystem;

// Windowed-sinc coefficients: 4096 phases of 8 taps, x 32768.
using TVSSSincTable = std::array<std::array<int32_t, 8>, 4096>;

// The sinc table; the same for every stream, so it is built once.
const TVSSSincTable& SharedSincTable();

// A streamed Ogg Vorbis piece: decoded in small batches while it plays,
// folded to stereo, resampled to the output rate and mixed with volume,
// panning, a short volume ramp and a declick tail.
class TVSSOGG {
public:
    // Frames in the ring, the resampled block and a decoded batch.
    static constexpr int32_t BlockFrames = 4096;
    // Bytes of 16-bit PCM the decoder may deliver per batch.
    static constexpr int32_t RawBytes = 131072;
    // Largest step (32.32): 32 input frames per output frame, so no rate a
    // stream claims can make one block decode without end.
    static constexpr int64_t MaxStep = int64_t(32) << 32;

    // Opens the decoder over a copy of the data; false when it cannot.
    bool Open(TVelaSoundSystem* Owner, const uint8_t* Data, int32_t Size);
    // Closes the decoder.
    ~TVSSOGG();

    // Restarts from the beginning with 16.16 volume, panning and speed.
    void Start(bool Loop, int32_t Volume16, int32_t Panning16, int32_t Speed16);
    // Stops at once; the remainder fades through the tail.
    void Stop();
    // Ramps to a new 16.16 volume over RampFrames frames.
    void SetVolume(int32_t Volume16, int32_t RampFrames);
    // Adds one block of Frames frames into Mix at group volume Group (x 4096).
    void MixInto(int32_t* Mix, int32_t Frames, int32_t Group);

    TVelaSoundSystem* Owner = nullptr;        // not owned
    std::unique_ptr<TVelaXMStream> Stream;    // owned copy of the file image
    TSharedWord<bool> Playing{false};         // producing frames; read without the lock
    bool Loop = false;                        // rewind at the end of the data
    int32_t Volume = 0;                       // 16.16
    int32_t CurrentGainLeft = 0;              // gains reached by the last mixed frame, x 4096 << 12
    int32_t CurrentGainRight = 0;             // the same for the right side
    int32_t Panning = 0;                      // 16.16
    int32_t RampFrames = 0;                   // frames left in the volume ramp
    int32_t TailLeft = 0;                     // declick accumulators, x 4096
    int32_t TailRight = 0;                    // the same for the right side
    int32_t Ring[BlockFrames * 2] = {};       // decoded history for the resampler
    int32_t RingWrite = 0;                    // next ring frame to write
    int64_t Position = 0;                     // 32.32: frames still to push, and the phase
    int64_t Step = 0;                         // 32.32 input frames per output frame
    int64_t BaseStep = 0;                     // 32.32 step at speed 1.0
    int32_t OutBlock[BlockFrames * 2] = {};   // resampled frames waiting to be mixed
    int32_t OutRead = 0;                      // next frame of OutBlock to mix
    int32_t OutCount = 0;                     // frames in OutBlock
    int32_t Decoded[BlockFrames * 2] = {};    // last decoded batch, stereo
    int32_t DecRead = 0;                      // next frame of Decoded to use
    int32_t DecCount = 0;                     // frames in Decoded
    int16_t Raw[RawBytes / 2] = {};           // 16-bit PCM as the decoder delivers it
    int32_t Channels = 0;                     // channel count of the stream
    int32_t StreamRate = 0;                   // frame rate of the stream
    int32_t LastLeft = 0;                     // last value added to the mix before the tail, x 4096
    int32_t LastRight = 0;                    // the same for the right side
    const TVSSSincTable* SincTable = nullptr; // shared coefficients
    OggVorbis_File Decoder;                   // the open decoder over Stream

private:
    void rewind();
    void decodeBatch();
    void nextDecodedFrame(int32_t* Frame);
    void fillOutBlock();
    void fillDirect();
    template <bool Sinc>
    void fillResampled();

    bool decoderOpen_ = false;
    bool endOfData_ = false;  // a batch met the end of a stream that does not loop
    int32_t validFrames_ = 0; // frames of the current OutBlock that came from the data
};
