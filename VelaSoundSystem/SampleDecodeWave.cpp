#include <cmath>
#include <cstring>

#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

// RIFF WAVE decoding: integer PCM of 8 to 32 bits, IEEE float, the extensible
// format, IMA ADPCM and the loops of a "smpl" chunk, all into stereo int32
// frames in 16-bit range. Chunks follow each other without pad bytes.

namespace {

// Bounded reads from the file image; a read past the end fails as a whole.
class TByteReader {
public:
    TByteReader(const uint8_t* Bytes, int32_t Size) : bytes_(Bytes), size_(Size) {}

    int64_t Size() const { return size_; }
    bool Has(int64_t Position, int64_t Count) const
    {
        return Position >= 0 && Count >= 0 && Position <= size_ && Count <= size_ - Position;
    }
    const uint8_t* At(int64_t Position) const { return bytes_ + Position; }
    uint16_t U16(int64_t Position) const { return uint16_t(bytes_[Position] | bytes_[Position + 1] << 8); }
    uint32_t U32(int64_t Position) const
    {
        return uint32_t(bytes_[Position]) | uint32_t(bytes_[Position + 1]) << 8 | uint32_t(bytes_[Position + 2]) << 16 |
               uint32_t(bytes_[Position + 3]) << 24;
    }
    bool Is(int64_t Position, const char* Id) const { return std::memcmp(bytes_ + Position, Id, 4) == 0; }

private:
    const uint8_t* bytes_;
    int64_t size_;
};

struct TWaveFormat {
    uint16_t Tag = 0;
    uint16_t Channels = 0;
    uint32_t Rate = 0;
    uint16_t Bits = 0;
};

struct TWaveChunks {
    TWaveFormat Format;
    TWaveFormat Alternative;
    bool HaveFormat = false;
    bool HaveAlternative = false;
    bool HaveFact = false;
    int64_t Data = -1; // header positions of the first chunk of each kind
    int64_t Sampler = -1;
    int64_t Extra = -1;
    int64_t List = -1;
};

constexpr int32_t TagPcm = 1;
constexpr int32_t TagFloat = 3;
constexpr int32_t TagImaAdpcm = 17;
constexpr int32_t TagExtensible = 0xFFFE;

bool readFormat(const TByteReader& In, int64_t Position, TWaveFormat& Format)
{
    if (!In.Has(Position, 16)) {
        return false;
    }
    Format.Tag = In.U16(Position);
    Format.Channels = In.U16(Position + 2);
    Format.Rate = In.U32(Position + 4);
    Format.Bits = In.U16(Position + 14);
    return true;
}

bool walkChunks(const TByteReader& In, TWaveChunks& Chunks)
{
    int64_t position = 12;
    while (position + 8 < In.Size()) {
        const int64_t body = position + 8;
        const uint32_t size = In.U32(position + 4);
        if (In.Is(position, "fmt ") || In.Is(position, "fmt\0")) {
            if (!Chunks.HaveFormat) {
                if (!readFormat(In, body, Chunks.Format)) {
                    return false;
                }
                Chunks.HaveFormat = true;
            }
        } else if (In.Is(position, "pcm ") || In.Is(position, "pcm\0")) {
            if (!Chunks.HaveAlternative) {
                if (!readFormat(In, body, Chunks.Alternative)) {
                    return false;
                }
                Chunks.HaveAlternative = true;
            }
        } else if (In.Is(position, "fact")) {
            if (!Chunks.HaveFact) {
                if (!In.Has(body, 4)) {
                    return false;
                }
                Chunks.HaveFact = true;
            }
        } else if (In.Is(position, "data")) {
            Chunks.Data = Chunks.Data < 0 ? position : Chunks.Data;
        } else if (In.Is(position, "smpl")) {
            Chunks.Sampler = Chunks.Sampler < 0 ? position : Chunks.Sampler;
        } else if (In.Is(position, "xtra")) {
            Chunks.Extra = Chunks.Extra < 0 ? position : Chunks.Extra;
        } else if (In.Is(position, "list")) {
            Chunks.List = Chunks.List < 0 ? position : Chunks.List;
        }
        position = body + size;
    }
    return true;
}

bool acceptedFormat(const TWaveFormat& F)
{
    if (F.Tag == TagPcm || F.Tag == TagFloat || F.Tag == TagExtensible) {
        return (F.Channels == 1 || F.Channels == 2) && (F.Bits == 8 || F.Bits == 16 || F.Bits == 24 || F.Bits == 32);
    }
    return F.Tag == TagImaAdpcm && F.Channels == 1 && F.Bits == 4;
}

int32_t floatToSample(float Value)
{
    const double scaled = double(Value) * 32767.0;
    if (!(scaled == scaled)) {
        return 0;
    }
    // Out-of-range floats clip to 16 bits rather than wrapping.
    if (scaled >= 32767.0) {
        return 32767;
    }
    if (scaled <= -32768.0) {
        return -32768;
    }
    return static_cast<int32_t>(std::nearbyint(scaled));
}

int32_t pcmValue(const uint8_t* P, const TWaveFormat& F)
{
    switch (F.Bits) {
    case 8:
        return (int32_t(P[0]) - 128) << 8;
    case 16:
        return int16_t(uint16_t(P[0] | P[1] << 8));
    case 24:
        return int32_t(uint32_t(P[0]) << 8 | uint32_t(P[1]) << 16 | uint32_t(P[2]) << 24) >> 16;
    default: {
        const uint32_t raw = uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24;
        if (F.Tag == TagFloat) {
            float value;
            std::memcpy(&value, &raw, sizeof value);
            return floatToSample(value);
        }
        return int32_t(raw) >> 16;
    }
    }
}

bool decodePcm(const TByteReader& In, int64_t Body, uint32_t Size, const TWaveFormat& F, std::vector<int32_t>& Frames)
{
    if (!In.Has(Body, Size)) {
        return false;
    }
    const int32_t width = F.Bits / 8;
    const int64_t frames = Size / (width * F.Channels);
    if (frames > TVelaSoundSystem::MaxSampleFrames) {
        return false;
    }
    Frames.resize(static_cast<size_t>(frames) * 2);
    const uint8_t* p = In.At(Body);
    for (int64_t i = 0; i < frames; ++i) {
        const int32_t left = pcmValue(p, F);
        const int32_t right = F.Channels == 2 ? pcmValue(p + width, F) : left;
        Frames[2 * i] = left;
        Frames[2 * i + 1] = right;
        p += width * F.Channels;
    }
    return true;
}

constexpr int32_t ImaSteps[89] = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int32_t ImaIndexChange[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

// One IMA ADPCM block over the whole chunk: a 4-byte header (predictor, step
// index, reserved) followed by two codes per byte, low nibble first.
bool decodeImaAdpcm(const TByteReader& In, int64_t Body, uint32_t Size, std::vector<int32_t>& Frames)
{
    if (Size < 4 || !In.Has(Body, Size)) {
        return false;
    }
    const int64_t frames = 2 * (int64_t(Size) - 4) + 1;
    if (frames > TVelaSoundSystem::MaxSampleFrames) {
        return false;
    }
    Frames.resize(static_cast<size_t>(frames) * 2);
    const uint8_t* p = In.At(Body);
    int32_t predictor = int16_t(uint16_t(p[0] | p[1] << 8));
    // The header's index byte may hold anything; the table has 89 entries.
    int32_t index = p[2] > 88 ? 88 : p[2];
    Frames[0] = Frames[1] = predictor;
    int64_t out = 1;
    for (int64_t i = 4; i < Size; ++i) {
        for (int nibble = 0; nibble < 2; ++nibble) {
            const int32_t code = (p[i] >> (4 * nibble)) & 15;
            const int32_t step = ImaSteps[index];
            int32_t delta = step >> 3;
            delta += (code & 1) ? step >> 2 : 0;
            delta += (code & 2) ? step >> 1 : 0;
            delta += (code & 4) ? step : 0;
            predictor += (code & 8) ? -delta : delta;
            predictor = predictor < -32768 ? -32768 : (predictor > 32767 ? 32767 : predictor);
            index += ImaIndexChange[code & 7];
            index = index < 0 ? 0 : (index > 88 ? 88 : index);
            Frames[2 * out] = Frames[2 * out + 1] = predictor;
            ++out;
        }
    }
    return true;
}

int32_t loopModeOfType(uint32_t Type)
{
    switch (Type) {
    case 1:
        return LoopPingPong;
    case 2:
        return LoopBackward;
    default:
        return LoopForward;
    }
}

void readLoop(const TByteReader& In, int64_t Record, int32_t& Mode, int32_t& Start, int32_t& End)
{
    const uint32_t start = In.U32(Record + 8);
    const uint32_t end = In.U32(Record + 12);
    Mode = start < end ? loopModeOfType(In.U32(Record + 4)) : LoopNone;
    Start = static_cast<int32_t>(start);
    End = static_cast<int32_t>(end);
}

bool readSampler(const TByteReader& In, int64_t Header, TVSSDecodedSample& Out)
{
    const int64_t fixed = Header + 8;
    if (!In.Has(Header, 8 + 36)) {
        return false;
    }
    const uint32_t loops = In.U32(fixed + 28);
    const int64_t records = fixed + 36;
    if (loops > 1) {
        if (!In.Has(records, 48)) {
            return false;
        }
        readLoop(In, records, Out.SustainMode, Out.SustainStart, Out.SustainEnd);
        readLoop(In, records + 24, Out.LoopMode, Out.LoopStart, Out.LoopEnd);
    } else if (loops == 1) {
        if (!In.Has(records, 24)) {
            return false;
        }
        readLoop(In, records, Out.LoopMode, Out.LoopStart, Out.LoopEnd);
    }
    return true;
}

// Only the structure of these chunks is checked; their contents are unused.
bool checkList(const TByteReader& In, int64_t Header)
{
    if (!In.Has(Header, 12)) {
        return false;
    }
    if (!In.Is(Header + 8, "INFO")) {
        return true;
    }
    const int64_t end = Header + 8 + int64_t(In.U32(Header + 4));
    int64_t position = Header + 12;
    while (position < end) {
        if (!In.Has(position, 8)) {
            return false;
        }
        position += 8 + int64_t(In.U32(position + 4));
    }
    return true;
}

} // namespace

bool DecodeWaveSample(const uint8_t* Bytes, int32_t Size, TVSSDecodedSample& Decoded)
{
    const TByteReader in(Bytes, Size);
    if (!in.Has(0, 12) || !(in.Is(8, "WAVE") || in.Is(8, "wave"))) {
        return false;
    }
    TWaveChunks chunks;
    if (!walkChunks(in, chunks)) {
        return false;
    }
    if (chunks.HaveFormat && chunks.HaveAlternative && chunks.Format.Tag != TagPcm && chunks.Format.Tag != TagFloat) {
        std::swap(chunks.Format, chunks.Alternative);
    }
    const TWaveFormat& format = chunks.Format;
    if (!acceptedFormat(format) || chunks.Data < 0) {
        return false;
    }
    const uint32_t dataSize = in.U32(chunks.Data + 4);
    const bool ok = format.Tag == TagImaAdpcm ? decodeImaAdpcm(in, chunks.Data + 8, dataSize, Decoded.Frames)
                                              : decodePcm(in, chunks.Data + 8, dataSize, format, Decoded.Frames);
    if (!ok) {
        return false;
    }
    if (chunks.Sampler >= 0 && !readSampler(in, chunks.Sampler, Decoded)) {
        return false;
    }
    if (chunks.List >= 0 && !checkList(in, chunks.List)) {
        return false;
    }
    if (chunks.Extra >= 0 && !in.Has(chunks.Extra, 8 + 16)) {
        return false;
    }
    Decoded.SampleRate = format.Rate > uint32_t(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(format.Rate);
    return true;
}
