#include "VelaXM/XMLoader.h"

namespace {

constexpr int64_t kADPCMTableSize = 16;

// Values are delta-coded per channel: each one is the wrapping running sum of
// the deltas so far, at 8 or 16 bits.
void decodeDeltas8(const TVelaXMByteReader& reader, int64_t offset, int32_t frames, int16_t* out, int32_t stride)
{
    int8_t sum = 0;
    for (int32_t i = 0; i < frames; ++i) {
        sum = static_cast<int8_t>(sum + static_cast<int8_t>(reader.At(offset + i)));
        out[i * stride] = static_cast<int16_t>(sum * 256);
    }
}

void decodeDeltas16(const TVelaXMByteReader& reader, int64_t offset, int32_t frames, int16_t* out, int32_t stride)
{
    int16_t sum = 0;
    for (int32_t i = 0; i < frames; ++i) {
        const int64_t at = offset + 2 * static_cast<int64_t>(i);
        const auto delta = static_cast<int16_t>(reader.At(at) | (reader.At(at + 1) << 8));
        sum = static_cast<int16_t>(sum + delta);
        out[i * stride] = sum;
    }
}

// 4-bit ADPCM: a table of 16 signed deltas, then two nibbles per byte, low first.
void decodeADPCM(const TVelaXMByteReader& reader, int64_t offset, int32_t frames, int16_t* out)
{
    int8_t table[kADPCMTableSize];
    for (int32_t k = 0; k < kADPCMTableSize; ++k)
        table[k] = static_cast<int8_t>(reader.At(offset + k));
    int8_t sum = 0;
    for (int32_t i = 0; i < frames; ++i) {
        const uint8_t packed = reader.At(offset + kADPCMTableSize + i / 2);
        const uint8_t nibble = (i & 1) ? packed >> 4 : packed & 15;
        sum = static_cast<int8_t>(sum + table[nibble]);
        out[i] = static_cast<int16_t>(sum * 256);
    }
}

} // namespace

void TVelaXMLoader::DecodeSampleData(TVelaXMByteReader& reader, TVelaXMSample& sample)
{
    const int64_t start = reader.Position();
    const int64_t lengthBytes = sample.Length;
    const int64_t available = reader.Remaining();
    const int32_t bytesPerValue = sample.Bits / 8;
    const int32_t channels = sample.Channels;
    int64_t blockEnd = start + lengthBytes;
    int64_t frames = 0;
    int64_t framesPresent = 0;
    if (sample.ADPCM) {
        // The block really is the table plus one byte per two values; the next
        // sample starts after it, not after the stored length.
        blockEnd = start + kADPCMTableSize + (lengthBytes + 1) / 2;
        frames = lengthBytes;
        framesPresent = std::max<int64_t>(0, available - kADPCMTableSize) * 2;
    } else {
        frames = lengthBytes / (bytesPerValue * channels);
        framesPresent = available / bytesPerValue;
    }
    // Data missing at the end of the image would only repeat the last value;
    // the sample is cut there, so memory stays bounded by the image size.
    const auto kept = static_cast<int32_t>(std::min(frames, framesPresent));
    sample.LoopStart /= bytesPerValue * channels;
    sample.LoopLength /= bytesPerValue * channels;
    sample.Allocate(kept, channels);
    fitSampleLoop(sample);
    if (kept > 0) {
        int16_t* out = sample.Frames();
        if (sample.ADPCM) {
            decodeADPCM(reader, start, kept, out);
        } else if (bytesPerValue == 2) {
            decodeDeltas16(reader, start, kept, out, channels);
            if (channels == 2)
                decodeDeltas16(reader, start + frames * 2, kept, out + 1, 2);
        } else {
            decodeDeltas8(reader, start, kept, out, channels);
            if (channels == 2)
                decodeDeltas8(reader, start + frames, kept, out + 1, 2);
        }
        sample.WriteGuards();
    }
    reader.Seek(blockEnd);
}
