#include "VelaXM/XMLoader.h"

#include <array>

namespace {

constexpr int32_t kInstrumentHeadSize = 29;
constexpr int32_t kInstrumentExtraSize = 214;
constexpr int32_t kSampleHeaderSize = 40;
constexpr int32_t kMaxSamples = 256;

// Fields of an instrument header, by byte offset from its start.
constexpr size_t kHeaderSizeField = 0;
constexpr size_t kName = 4;
constexpr size_t kSampleCount = 27;
constexpr size_t kSampleMap = 33;
constexpr size_t kVolumePoints = 129;
constexpr size_t kPanningPoints = 177;
constexpr size_t kVolumePointCount = 225;
constexpr size_t kPanningPointCount = 226;
constexpr size_t kVolumeSustain = 227; // then loop start and loop end
constexpr size_t kPanningSustain = 230;
constexpr size_t kVolumeType = 233;
constexpr size_t kPanningType = 234;
constexpr size_t kVibratoType = 235; // then sweep, depth and rate
constexpr size_t kFadeout = 239;

// Fields of a sample header, by byte offset.
constexpr size_t kSampleLength = 0;
constexpr size_t kSampleLoopStart = 4;
constexpr size_t kSampleLoopLength = 8;
constexpr size_t kSampleVolume = 12;
constexpr size_t kSampleFinetune = 13;
constexpr size_t kSampleType = 14;
constexpr size_t kSamplePanning = 15;
constexpr size_t kSampleRelativeNote = 16;
constexpr size_t kSampleReserved = 17;
constexpr size_t kSampleName = 18;

constexpr uint8_t kAdpcmMark = 0xAD;

// Envelope points as stored: X words, Y in the low byte of a word. Older
// trackers kept X in 8 bits, so a point that goes backwards borrows the high
// byte of its predecessor (and one more step of 256 if needed).
void readEnvelope(TVelaXMEnvelope& env, const uint8_t* points, uint8_t count, uint8_t sustain, uint8_t loopStart,
                  uint8_t loopEnd, uint8_t type)
{
    for (int32_t k = 0; k < TVelaXMEnvelope::kMaxPoints; ++k) {
        env.Points[k].X = static_cast<int32_t>(readLE16(points + 4 * k));
        env.Points[k].Y = points[4 * k + 2];
    }
    for (int32_t k = 1; k < TVelaXMEnvelope::kMaxPoints; ++k) {
        int32_t& x = env.Points[k].X;
        const int32_t previous = env.Points[k - 1].X;
        if (x < previous) {
            x = (x & 0xFF) + (previous & 0xFF00);
            if (x < previous)
                x += 0x100;
        }
    }
    // Points past the twelfth do not exist in the file: the excess is ignored.
    env.NumPoints = std::min<int32_t>(count, TVelaXMEnvelope::kMaxPoints);
    env.SustainPoint = sustain;
    env.LoopStart = loopStart;
    env.LoopEnd = loopEnd;
    env.Enabled = (type & 1) != 0;
    env.SustainEnabled = (type & 2) != 0;
    env.LoopEnabled = (type & 4) != 0;
    if (env.NumPoints == 0)
        env.Enabled = false;
    if (env.SustainPoint > TVelaXMEnvelope::kMaxPoints)
        env.SustainEnabled = false;
    if (env.LoopStart >= env.LoopEnd)
        env.LoopEnabled = false;
}

} // namespace

bool TVelaXMLoader::readInstrument(int32_t index, PendingSamples& samples)
{
    const int64_t start = reader_.Position();
    std::array<uint8_t, kInstrumentHeadSize + kInstrumentExtraSize> h{};
    if (!reader_.ReadExact(h.data(), kInstrumentHeadSize))
        return false;
    const int64_t headerSize = readLE32(&h[kHeaderSizeField]);
    const int32_t sampleCount = static_cast<int32_t>(readLE16(&h[kSampleCount]));

    auto& slot = module_.Instruments[index];
    if (!slot)
        slot = std::make_unique<TVelaXMInstrument>();
    TVelaXMInstrument& instrument = *slot;
    instrument.Reset();
    instrument.Name = trimmedName(&h[kName], 22);
    if (sampleCount == 0) {
        reader_.Seek(start + headerSize);
        return true;
    }
    if (!reader_.ReadExact(&h[kInstrumentHeadSize], kInstrumentExtraSize))
        return false;
    reader_.Seek(start + headerSize);
    readInstrumentExtras(instrument, h.data());

    samples.clear();
    samples.reserve(static_cast<size_t>(std::min(sampleCount, kMaxSamples)));
    for (int32_t j = 0; j < sampleCount; ++j) {
        PendingSample pending;
        TVelaXMSample* sample = nullptr;
        if (j < kMaxSamples) {
            instrument.Samples[j] = std::make_unique<TVelaXMSample>();
            sample = instrument.Samples[j].get();
            pending.target = sample;
        } else {
            // Sample numbers stop at 255: the excess is read over and never played.
            pending.excess = std::make_unique<TVelaXMSample>();
            sample = pending.excess.get();
        }
        if (!readSampleHeader(*sample))
            return false;
        samples.push_back(std::move(pending));
    }
    return true;
}

void TVelaXMLoader::readInstrumentExtras(TVelaXMInstrument& instrument, const uint8_t* h)
{
    std::memcpy(instrument.SampleMap.data(), h + kSampleMap, 96);
    const uint8_t* volume = h + kVolumeSustain;
    readEnvelope(instrument.VolumeEnvelope, h + kVolumePoints, h[kVolumePointCount], volume[0], volume[1], volume[2],
                 h[kVolumeType]);
    const uint8_t* panning = h + kPanningSustain;
    readEnvelope(instrument.PanningEnvelope, h + kPanningPoints, h[kPanningPointCount], panning[0], panning[1],
                 panning[2], h[kPanningType]);
    const uint8_t* vibrato = h + kVibratoType;
    instrument.VibratoType = vibrato[0];
    instrument.VibratoSweep = vibrato[1];
    instrument.VibratoDepth = vibrato[2];
    instrument.VibratoRate = vibrato[3];
    instrument.Fadeout = static_cast<int32_t>(readLE16(h + kFadeout));
}

void fitSampleLoop(TVelaXMSample& sample)
{
    if (sample.LoopStart >= sample.Length)
        sample.Loop = false;
    if (static_cast<int64_t>(sample.LoopStart) + sample.LoopLength > sample.Length)
        sample.LoopLength = sample.Length - sample.LoopStart;
    if (sample.LoopLength <= 0)
        sample.Loop = false;
    // A loop that cannot play keeps no stale bounds in the model.
    if (!sample.Loop) {
        sample.LoopStart = 0;
        sample.LoopLength = 0;
        sample.PingPongLoop = false;
    }
}

bool TVelaXMLoader::readSampleHeader(TVelaXMSample& sample)
{
    std::array<uint8_t, kSampleHeaderSize> h;
    if (!reader_.ReadExact(h.data(), kSampleHeaderSize))
        return false;
    // Lengths are unsigned in the file; anything beyond 2^30 is cut with the data.
    const int64_t length = std::min<int64_t>(readLE32(&h[kSampleLength]), 0x40000000);
    const int64_t loopStart = std::min<int64_t>(readLE32(&h[kSampleLoopStart]), 0x7FFFFFFF);
    const int64_t loopLength = std::min<int64_t>(readLE32(&h[kSampleLoopLength]), 0x7FFFFFFF);
    const uint8_t type = h[kSampleType];
    sample.Length = static_cast<int32_t>(length);
    sample.LoopStart = static_cast<int32_t>(loopStart);
    sample.LoopLength = static_cast<int32_t>(loopLength);
    sample.Volume = h[kSampleVolume];
    sample.Finetune = static_cast<int8_t>(h[kSampleFinetune]);
    sample.Panning = h[kSamplePanning];
    sample.RelativeNote = static_cast<int8_t>(h[kSampleRelativeNote]);
    sample.Name = trimmedName(&h[kSampleName], 22);
    sample.Loop = (type & 3) != 0;
    // Loop type 3 is not defined; trackers play it as ping-pong.
    sample.PingPongLoop = (type & 2) != 0;
    sample.Bits = (type & 0x10) ? 16 : 8;
    sample.Channels = (type & 0x20) ? 2 : 1;
    sample.ADPCM = h[kSampleReserved] == kAdpcmMark && (type & 0x30) == 0;
    sample.UsePanning = true;
    fitSampleLoop(sample);
    return true;
}

void TVelaXMLoader::readSampleData(PendingSamples& samples)
{
    for (PendingSample& pending : samples) {
        TVelaXMSample* sample = pending.target != nullptr ? pending.target : pending.excess.get();
        DecodeSampleData(reader_, *sample);
        if (pending.excess)
            pending.excess.reset();
    }
}
