#include "VelaXM/ByteReader.h"
#include "VelaXM/Module.h"

#include <array>
#include <cctype>

namespace {

constexpr int32_t kSampleHeaderSize = 30;
constexpr int32_t kSongNameSize = 20;
constexpr int32_t kSampleHeadersOffset = kSongNameSize;
constexpr int32_t kOrderCount = 128;

// Fields of a sample header, from its start (lengths and loop points in words, big-endian).
constexpr int32_t kSampleName = 0;
constexpr int32_t kSampleNameSize = 22;
constexpr int32_t kSampleLength = 22;
constexpr int32_t kSampleFinetune = 24;
constexpr int32_t kSampleVolume = 25;
constexpr int32_t kSampleLoopStart = 26;
constexpr int32_t kSampleLoopLength = 28;

// Fields after the sample headers, from the song length byte.
constexpr int32_t kSongLength = 0;
constexpr int32_t kRestartByte = 1;
constexpr int32_t kOrderTable = 2;

// The header of an old image of 15 samples ends after its order table; one of
// 31 samples carries a four-byte signature there.
constexpr int32_t kSongFieldsSize = kOrderTable + kOrderCount;
constexpr int32_t kHeaderSize15 = kSampleHeadersOffset + 15 * kSampleHeaderSize + kSongFieldsSize;
constexpr int32_t kSignatureOffset = kSampleHeadersOffset + 31 * kSampleHeaderSize + kSongFieldsSize;
constexpr int32_t kHeaderSize31 = kSignatureOffset + 4;
static_assert(kHeaderSize15 == 600 && kSignatureOffset == 1080 && kHeaderSize31 == 1084);
constexpr int32_t kRows = 64;
constexpr int32_t kCellBytes = 4;
constexpr int32_t kPatternBytesPerChannel = kRows * kCellBytes;
constexpr int32_t kMaxPatterns = 128;

// Amiga periods of the notes C-1..B-5 (protracker octaves 1..5 are XM notes 25..84).
constexpr std::array<int32_t, 60> kNotePeriods = {
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960, 906, 856, 808, 762, 720, 678, 640, 604, 570,
    538,  508,  480,  453,  428,  404,  381,  360,  339,  320,  302, 285, 269, 254, 240, 226, 214, 202, 190, 180,
    170,  160,  151,  143,  135,  127,  120,  113,  107,  101,  95,  90,  85,  80,  75,  71,  67,  63,  60,  56};

bool isDigit(uint8_t c) { return std::isdigit(c) != 0; }

// Channel count named by the signature, or -1 for an old 15-sample image.
int32_t channelsFromSignature(const uint8_t* s)
{
    auto is = [s](const char* tag) { return std::memcmp(s, tag, 4) == 0; };
    if (is("M.K.") || is("M!K!") || is("M&K!") || is("N.T."))
        return 4;
    if (is("OCTA") || is("OKTA") || is("CD81") || is("WOW!"))
        return 8;
    if ((std::memcmp(s, "TDZ", 3) == 0 || std::memcmp(s, "FLT", 3) == 0 || std::memcmp(s, "EXO", 3) == 0) &&
        isDigit(s[3]))
        return s[3] - '0';
    if (isDigit(s[0]) && std::memcmp(s + 1, "CHN", 3) == 0)
        return s[0] - '0';
    if (isDigit(s[0]) && isDigit(s[1]) && (std::memcmp(s + 2, "CN", 2) == 0 || std::memcmp(s + 2, "CH", 2) == 0))
        return (s[0] - '0') * 10 + (s[1] - '0');
    if (std::memcmp(s, "EX", 2) == 0 && isDigit(s[2]) && isDigit(s[3]))
        return (s[2] - '0') * 10 + (s[3] - '0');
    return -1;
}

int32_t noteFromPeriod(int32_t period)
{
    if (period < kNotePeriods.back())
        return 0;
    for (size_t k = 0; k < kNotePeriods.size(); ++k)
        if (kNotePeriods[k] <= period)
            return static_cast<int32_t>(k) + 25;
    return 0;
}

int32_t finetuneFromNibble(uint8_t value)
{
    const int32_t nibble = std::min<int32_t>(value, 15);
    return nibble < 8 ? nibble * 16 : (nibble - 16) * 16;
}

// Sample header fields that the pattern count and the data walk need, in bytes.
struct ModSampleInfo {
    int64_t length = 0;
    int64_t loopStart = 0;
    int64_t loopLength = 0;
};

void decodePattern(TVelaXMPattern& pattern, const TVelaXMByteReader& reader, int64_t offset, int32_t channels)
{
    pattern.SetSize(kRows, channels);
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t channel = 0; channel < channels; ++channel) {
            const int64_t at = offset + (static_cast<int64_t>(row) * channels + channel) * kCellBytes;
            const uint8_t b0 = reader.At(at), b1 = reader.At(at + 1), b2 = reader.At(at + 2), b3 = reader.At(at + 3);
            TVelaXMPatternNote cell;
            cell.Note = noteFromPeriod(((b0 * 256) & 0xFFF) | b1);
            cell.Instrument = (b0 & 0xF0) | (b2 >> 4);
            cell.Effect = b2 & 0x0F;
            cell.EffectParameter = b3;
            pattern.SetNote(row, channel, cell);
        }
    }
}

void decodeSample(TVelaXMSample& sample, const ModSampleInfo& info, const TVelaXMByteReader& reader, int64_t offset)
{
    int64_t loopStart = info.loopStart;
    int64_t loopLength = info.loopLength;
    if (loopStart > info.length) {
        loopStart = 0;
        loopLength = 0;
    }
    // A loop past the end is cut back to end there, but never below two bytes.
    if (loopStart + loopLength > info.length)
        loopLength = std::max<int64_t>(info.length - loopStart, 2);
    sample.Loop = loopLength > 2;
    sample.PingPongLoop = false;
    sample.LoopStart = sample.Loop ? static_cast<int32_t>(loopStart) : 0;
    sample.LoopLength = sample.Loop ? static_cast<int32_t>(loopLength) : 0;
    sample.Allocate(static_cast<int32_t>(info.length), 1);
    int16_t* frames = sample.Frames();
    for (int64_t i = 0; i < info.length; ++i)
        frames[i] = static_cast<int16_t>(static_cast<int8_t>(reader.At(offset + i)) * 256);
    sample.WriteGuards();
}

} // namespace

bool TVelaXMModule::LoadMOD(const void* Data, uint32_t Size)
{
    Clear();
    if (Data == nullptr)
        Size = 0;
    TVelaXMByteReader reader(static_cast<const uint8_t*>(Data), Size);
    std::array<uint8_t, kHeaderSize31> h{};
    if (!reader.ReadExact(h.data(), kHeaderSize31))
        return false;
    const uint8_t* signature = &h[kSignatureOffset];
    if (signature[0] == 'P' && signature[1] == 'P')
        return false;
    int32_t channels = channelsFromSignature(signature);
    const bool oldFormat = channels < 0;
    const int32_t headerSize = oldFormat ? kHeaderSize15 : kHeaderSize31;
    const int32_t sampleCount = oldFormat ? 15 : 31;
    if (oldFormat) {
        channels = 4;
        std::fill(h.begin() + kHeaderSize15, h.end(), 0);
    }

    const auto* nameEnd = static_cast<const uint8_t*>(std::memchr(h.data(), 0, kSongNameSize));
    Name.assign(reinterpret_cast<const char*>(h.data()), nameEnd ? nameEnd - h.data() : kSongNameSize);
    const uint8_t* song = &h[kSampleHeadersOffset + sampleCount * kSampleHeaderSize];
    SongLength = song[kSongLength];
    RestartPosition = song[kRestartByte];
    if (RestartPosition > SongLength)
        RestartPosition = 0;
    std::memcpy(Orders.data(), song + kOrderTable, kOrderCount);

    std::array<ModSampleInfo, 31> infos{};
    int64_t sampleBytes = 0;
    for (int32_t i = 0; i < sampleCount; ++i) {
        const uint8_t* s = &h[kSampleHeadersOffset + i * kSampleHeaderSize];
        ModSampleInfo& info = infos[i];
        info.length = 2 * static_cast<int64_t>(readBE16(s + kSampleLength));
        info.loopStart = 2 * static_cast<int64_t>(readBE16(s + kSampleLoopStart));
        info.loopLength = 2 * static_cast<int64_t>(readBE16(s + kSampleLoopLength));
        sampleBytes += info.length;

        auto instrument = std::make_unique<TVelaXMInstrument>();
        instrument->Name = trimmedName(s + kSampleName, kSampleNameSize);
        instrument->Fadeout = 65536;
        auto sample = std::make_unique<TVelaXMSample>();
        sample->Name = instrument->Name;
        sample->Finetune = finetuneFromNibble(s[kSampleFinetune]);
        sample->Volume = s[kSampleVolume];
        sample->Panning = 128;
        sample->UsePanning = false;
        instrument->Samples[0] = std::move(sample);
        Instruments[i + 1] = std::move(instrument);
    }

    int32_t highest = 0;
    for (int32_t i = 0; i < kOrderCount; ++i)
        if (Orders[i] < kMaxPatterns)
            highest = std::max<int32_t>(highest, Orders[i]);
    int64_t patterns = highest + 1;
    const int64_t size = Size;
    // An old image with the 4-channel signature whose size only fits 8 channels.
    if (channels == 4 && headerSize + patterns * 8 * kPatternBytesPerChannel + sampleBytes == size)
        channels = 8;
    if (std::memcmp(signature, "M!K!", 4) == 0 && highest >= 64) {
        const int64_t fitting = (size - headerSize - sampleBytes) / (channels * kPatternBytesPerChannel);
        patterns = std::min(patterns, fitting);
    }
    patterns = std::min<int64_t>(patterns, kMaxPatterns);
    if (headerSize + patterns * channels * kPatternBytesPerChannel + sampleBytes != size || patterns < 0) {
        Clear();
        return false;
    }

    for (int32_t c = 0; c < channels; ++c)
        Channels[c].DefaultPanning = (c % 4 == 0 || c % 4 == 3) ? 0 : 255;
    for (int32_t p = 0; p < patterns; ++p)
        decodePattern(Patterns[p], reader, headerSize + static_cast<int64_t>(p) * channels * kPatternBytesPerChannel, channels);
    // Samples follow the patterns back to back, each right where the previous one ended.
    int64_t offset = headerSize + patterns * channels * kPatternBytesPerChannel;
    for (int32_t i = 0; i < sampleCount; ++i) {
        if (infos[i].length > 0)
            decodeSample(*Instruments[i + 1]->Samples[0], infos[i], reader, offset);
        offset += infos[i].length;
    }
    NumChannels = channels;
    LinearFrequencies = false;
    // Trackers of this format have no slide memory: a zero parameter does not slide.
    SlideMemory = false;
    SignedFinetuneDigit = true;
    ModPeriodLimits = true;
    RowTickHoldsModulation = false;
    Loaded = true;
    return true;
}
