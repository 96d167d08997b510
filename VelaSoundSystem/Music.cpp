#include "VelaSoundSystem/Music.h"

#include <cstring>

#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaSoundSystem/VorbisSetupCheck.h"

// Life of a music stream: opening the decoder over its own copy of the data,
// starting, stopping, volume changes and the lazy decoding of batches.

bool TVSSOGG::Open(TVelaSoundSystem* NewOwner, const uint8_t* Data, int32_t Size)
{
    Owner = NewOwner;
    if (!vss::VorbisCodebooksAreSound(Data, Size)) {
        return false;
    }
    Stream = std::make_unique<TVelaXMStream>();
    vss::CopyIntoStream(*Stream, Data, Size);
    std::memset(&Decoder, 0, sizeof Decoder);
    if (ov_open_callbacks(Stream.get(), &Decoder, nullptr, 0, vss::MemoryStreamCallbacks()) != 0) {
        return false;
    }
    decoderOpen_ = true;
    const vorbis_info* info = ov_info(&Decoder, -1);
    if (info == nullptr || info->channels < 1 || info->rate < 1) {
        return false;
    }
    Channels = info->channels;
    StreamRate = info->rate > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info->rate);
    SincTable = &SharedSincTable();
    return true;
}

TVSSOGG::~TVSSOGG()
{
    if (decoderOpen_) {
        ov_clear(&Decoder);
    }
}

void TVSSOGG::Start(bool NewLoop, int32_t Volume16, int32_t Panning16, int32_t Speed16)
{
    TailLeft += LastLeft;
    TailRight += LastRight;
    LastLeft = 0;
    LastRight = 0;
    rewind();
    // Both read positions past their counts: the next frame needs a new batch
    // and a new block.
    DecRead = DecCount + 1;
    OutRead = OutCount + 1;
    Volume = Volume16;
    Panning = Panning16;
    Loop = NewLoop;
    RampFrames = 0;
    Position = 0;
    const int64_t outputRate = Owner->SampleRate;
    if (StreamRate == outputRate) {
        BaseStep = vss::FrameOne;
    } else {
        BaseStep = (int64_t(StreamRate) * vss::FrameOne + outputRate / 2) / outputRate;
    }
    const __int128 speed = Speed16 < 0 ? -__int128(Speed16) : __int128(Speed16);
    const __int128 step = (speed * BaseStep) >> 16;
    Step = step > MaxStep ? MaxStep : static_cast<int64_t>(step);
    RingWrite = 0;
    std::memset(Ring, 0, sizeof Ring);
    endOfData_ = false;
    Playing.Store(true);
}

void TVSSOGG::Stop()
{
    Playing.Store(false);
    TailLeft += LastLeft;
    TailRight += LastRight;
    LastLeft = 0;
    LastRight = 0;
}

void TVSSOGG::SetVolume(int32_t Volume16, int32_t NewRampFrames)
{
    Volume = Volume16;
    RampFrames = NewRampFrames;
}

void TVSSOGG::rewind()
{
    if (decoderOpen_) {
        ov_raw_seek(&Decoder, 0);
    }
}

void TVSSOGG::decodeBatch()
{
    DecCount = 0;
    int32_t rewinds = 0;
    const int32_t frameBytes = 2 * Channels;
    // At most one batch of frames, and never more than Raw holds, whatever
    // the channel count.
    const int32_t capacity = BlockFrames * frameBytes < RawBytes ? BlockFrames * frameBytes : RawBytes;
    int32_t filled = 0;
    char* raw = reinterpret_cast<char*>(Raw);
    int bitstream = 0;
    bool silent = false;
    while (DecCount == 0) {
        const int32_t ask = capacity - filled;
        const long result = ask > 0 ? ov_read(&Decoder, raw + filled, ask, 0, 2, 1, &bitstream) : OV_EINVAL;
        if (result > 0) {
            filled += static_cast<int32_t>(result);
            DecCount = filled / frameBytes;
            continue;
        }
        if (result == OV_HOLE) {
            continue;
        }
        // End of the data, a bad link or any other decoder error.
        if (Loop && rewinds < 3) {
            ++rewinds;
            rewind();
            continue;
        }
        // The end: a batch of silence; the stream stops once the frames
        // decoded before it have been mixed.
        DecCount = BlockFrames;
        silent = true;
        endOfData_ = true;
        break;
    }
    if (silent) {
        std::memset(Decoded, 0, sizeof Decoded);
    } else {
        vss::FoldToStereo(Raw, Channels, DecCount, Decoded);
    }
    DecRead = 0;
}

void TVSSOGG::nextDecodedFrame(int32_t* Frame)
{
    if (DecRead >= DecCount) {
        decodeBatch();
    }
    Frame[0] = Decoded[2 * DecRead];
    Frame[1] = Decoded[2 * DecRead + 1];
    ++DecRead;
}
