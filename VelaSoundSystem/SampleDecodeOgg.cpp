#include <cstring>

#include "VelaSoundSystem/OggMemory.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaSoundSystem/VorbisSetupCheck.h"

// Whole-file Ogg Vorbis decoding for samples. The decoder's output is folded
// to stereo batch by batch, so memory follows the frames actually decoded and
// not the total length the stream claims in its last page.

namespace {

// Frames requested per decoder call (any channel count).
constexpr int32_t BatchFrames = 4096;

struct TOpenDecoder {
    OggVorbis_File File;
    bool Open = false;
    ~TOpenDecoder()
    {
        if (Open) {
            ov_clear(&File);
        }
    }
};

} // namespace

bool DecodeOggSample(const uint8_t* Bytes, int32_t Size, TVSSDecodedSample& Decoded)
{
    if (!vss::VorbisCodebooksAreSound(Bytes, Size)) {
        return false;
    }
    TVelaXMStream stream;
    vss::CopyIntoStream(stream, Bytes, Size);
    TOpenDecoder decoder;
    std::memset(&decoder.File, 0, sizeof decoder.File);
    if (ov_open_callbacks(&stream, &decoder.File, nullptr, 0, vss::MemoryStreamCallbacks()) != 0) {
        return false;
    }
    decoder.Open = true;
    const vorbis_info* info = ov_info(&decoder.File, -1);
    const ogg_int64_t total = ov_pcm_total(&decoder.File, -1);
    if (info == nullptr || info->channels < 1 || info->rate < 1 || total <= 0) {
        return false;
    }
    const int32_t channels = info->channels;
    const int64_t frameBytes = 2 * int64_t(channels);
    const int64_t wanted = total < TVelaSoundSystem::MaxSampleFrames ? total : TVelaSoundSystem::MaxSampleFrames;
    const int64_t wantedBytes = wanted * frameBytes;

    // Raw holds one batch plus the bytes of a frame split across two calls.
    std::vector<int16_t> raw(static_cast<size_t>(BatchFrames + 1) * channels);
    char* rawBytes = reinterpret_cast<char*>(raw.data());
    const int64_t rawCapacity = int64_t(BatchFrames) * frameBytes;
    int64_t filled = 0;  // bytes delivered in total
    int64_t pending = 0; // bytes in raw not yet folded
    int bitstream = 0;
    while (filled < wantedBytes) {
        const int64_t room = rawCapacity - pending;
        const int64_t ask = wantedBytes - filled < room ? wantedBytes - filled : room;
        const long result = ov_read(&decoder.File, rawBytes + pending, static_cast<int>(ask), 0, 2, 1, &bitstream);
        if (result == OV_HOLE) {
            continue;
        }
        if (result < 0 || vss::IsEndOfDecoding(result)) {
            break;
        }
        filled += result;
        pending += result;
        const int64_t frames = pending / frameBytes;
        const size_t at = Decoded.Frames.size();
        Decoded.Frames.resize(at + static_cast<size_t>(frames) * 2);
        vss::FoldToStereo(raw.data(), channels, static_cast<int32_t>(frames), Decoded.Frames.data() + at);
        const int64_t used = frames * frameBytes;
        std::memmove(rawBytes, rawBytes + used, static_cast<size_t>(pending - used));
        pending -= used;
    }
    if (filled == 0) {
        return false;
    }
    Decoded.SampleRate = info->rate > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info->rate);
    return true;
}
