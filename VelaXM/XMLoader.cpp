#include "VelaXM/XMLoader.h"

#include <array>

namespace {

constexpr int32_t kMainHeaderSize = 336;

// Fields of the main header, by byte offset.
constexpr size_t kIdText = 0;
constexpr size_t kModuleName = 17;
constexpr size_t kVersion = 58;
constexpr size_t kHeaderSize = 60; // patterns start this far past the field itself
constexpr size_t kSongLength = 64;
constexpr size_t kRestartPosition = 66;
constexpr size_t kChannelCount = 68;
constexpr size_t kPatternCount = 70;
constexpr size_t kInstrumentCount = 72;
constexpr size_t kFlags = 74;
constexpr size_t kDefaultSpeed = 76;
constexpr size_t kDefaultBPM = 78;
constexpr size_t kOrderTable = 80;

constexpr uint32_t kLinearFrequenciesFlag = 0x0001;
constexpr uint32_t kExtendedFilterRangeFlag = 0x1000;
constexpr uint32_t kLastShortPatternHeaderVersion = 0x0102; // rows stored as a byte
constexpr uint32_t kLastOldLayoutVersion = 0x0103;          // instruments before patterns
constexpr uint32_t kMaxCount = 255;                         // channels and instruments
constexpr int32_t kMaxDecodedRows = 256;
// Pattern cells a small image may claim before further patterns stay cell-less;
// legitimate files need at least one byte per decoded cell, so four per byte is ample.
constexpr int64_t kCellBudgetFloor = 1 << 20;

} // namespace

TVelaXMLoader::TVelaXMLoader(TVelaXMModule& module, const uint8_t* data, uint32_t size)
    : module_(module), reader_(data, size), cellBudget_(kCellBudgetFloor + 4 * static_cast<int64_t>(size))
{}

bool TVelaXMModule::Load(const void* Data, uint32_t Size)
{
    Clear();
    // Rows left over from an earlier load would turn missing patterns into empty ones.
    for (TVelaXMPattern& pattern : Patterns)
        pattern.SetSize(0, 0);
    if (Data == nullptr)
        Size = 0;
    const auto* bytes = static_cast<const uint8_t*>(Data);
    TVelaXMByteReader probe(bytes, Size);
    std::array<uint8_t, kMainHeaderSize> header;
    if (!probe.ReadExact(header.data(), kMainHeaderSize))
        return false;
    const bool isXM = std::memcmp(&header[kIdText], "Extended Module: ", 17) == 0;
    if (!isXM || readLE16(&header[kChannelCount]) > kMaxCount || readLE16(&header[kInstrumentCount]) > kMaxCount) {
        Clear();
        return LoadMOD(Data, Size);
    }
    TVelaXMLoader loader(*this, bytes, Size);
    if (!loader.LoadXM()) {
        Clear();
        return false;
    }
    Loaded = true;
    loader.ReadExtensionChunks();
    return true;
}

bool TVelaXMLoader::LoadXM()
{
    std::array<uint8_t, kMainHeaderSize> h;
    if (!reader_.ReadExact(h.data(), kMainHeaderSize))
        return false;
    module_.Name = trimmedName(&h[kModuleName], 20);
    const uint32_t version = readLE16(&h[kVersion]);
    const uint32_t headerSize = readLE32(&h[kHeaderSize]);
    module_.SongLength = static_cast<int32_t>(readLE16(&h[kSongLength]));
    module_.RestartPosition = static_cast<int32_t>(readLE16(&h[kRestartPosition]));
    module_.NumChannels = static_cast<int32_t>(readLE16(&h[kChannelCount]));
    const int32_t patternCount = static_cast<int32_t>(readLE16(&h[kPatternCount]));
    const int32_t instrumentCount = static_cast<int32_t>(readLE16(&h[kInstrumentCount]));
    const uint32_t flags = readLE16(&h[kFlags]);
    module_.LinearFrequencies = (flags & kLinearFrequenciesFlag) != 0;
    module_.ExtendedFilterRange = (flags & kExtendedFilterRangeFlag) != 0;
    module_.DefaultSpeed = h[kDefaultSpeed] == 0 ? 6 : h[kDefaultSpeed];
    module_.DefaultBPM = h[kDefaultBPM] == 0 ? 125 : h[kDefaultBPM];
    std::memcpy(module_.Orders.data(), &h[kOrderTable], 256);

    module_.Speed = module_.DefaultSpeed;
    module_.BPM = module_.DefaultBPM;
    reader_.Seek(kHeaderSize + static_cast<int64_t>(headerSize));
    for (int32_t c = 0; c < module_.NumChannels; ++c)
        module_.Channels[c].DefaultPanning = 128;

    if (version <= kLastOldLayoutVersion) {
        // Old layout: every instrument header first, the sample data last.
        std::vector<PendingSamples> pending(static_cast<size_t>(instrumentCount));
        for (int32_t i = 0; i < instrumentCount; ++i)
            if (!readInstrument(i + 1, pending[static_cast<size_t>(i)]))
                return false;
        if (!readPatterns(patternCount, version <= kLastShortPatternHeaderVersion))
            return false;
        for (PendingSamples& samples : pending)
            readSampleData(samples);
        return true;
    }
    if (!readPatterns(patternCount, false))
        return false;
    for (int32_t i = 0; i < instrumentCount; ++i) {
        PendingSamples samples;
        if (!readInstrument(i + 1, samples))
            return false;
        readSampleData(samples);
    }
    return true;
}

bool TVelaXMLoader::readPatterns(int32_t count, bool shortHeader)
{
    for (int32_t i = 0; i < count; ++i) {
        // Patterns past the 256 slots are read over and dropped.
        TVelaXMPattern* slot = i < static_cast<int32_t>(module_.Patterns.size()) ? &module_.Patterns[i] : nullptr;
        if (!readPattern(slot, shortHeader))
            return false;
    }
    return true;
}

bool TVelaXMLoader::readPattern(TVelaXMPattern* pattern, bool shortHeader)
{
    std::array<uint8_t, 9> h{};
    int32_t rows = 0;
    uint32_t packedSize = 0;
    if (shortHeader) {
        if (!reader_.ReadExact(h.data(), 8))
            return false;
        rows = h[5] + 1;
        packedSize = readLE16(&h[6]);
    } else {
        if (!reader_.ReadExact(h.data(), 9))
            return false;
        rows = static_cast<int32_t>(readLE16(&h[5]));
        packedSize = readLE16(&h[7]);
    }
    const int64_t blockEnd = reader_.Position() + packedSize;
    const bool decodable = rows > 0 && rows <= kMaxDecodedRows;
    if (pattern != nullptr) {
        pattern->Clear();
        const int64_t cells = static_cast<int64_t>(rows + 1) * module_.NumChannels;
        if (decodable && cells <= cellBudget_) {
            cellBudget_ -= cells;
            pattern->SetSize(rows, module_.NumChannels);
        } else {
            // Too many rows to hold (or too many cells for this image): the
            // pattern plays as empty rows, which is what its cells would hold.
            pattern->SetSize(0, 0);
            pattern->Rows = rows;
            pattern->Channels = static_cast<uint8_t>(module_.NumChannels);
        }
    }
    if (packedSize == 0)
        return true;
    if (decodable && pattern != nullptr && !pattern->Notes.empty())
        decodeCells(*pattern, rows);
    reader_.Seek(blockEnd);
    return true;
}

void TVelaXMLoader::decodeCells(TVelaXMPattern& pattern, int32_t rows)
{
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t channel = 0; channel < module_.NumChannels; ++channel) {
            TVelaXMPatternNote cell;
            const uint8_t b = reader_.Byte();
            if ((b & 0x80) == 0) {
                cell.Note = b;
                cell.Instrument = reader_.Byte();
                cell.Volume = reader_.Byte();
                cell.Effect = reader_.Byte();
                cell.EffectParameter = reader_.Byte();
            } else {
                if (b & 0x01)
                    cell.Note = reader_.Byte();
                if (b & 0x02)
                    cell.Instrument = reader_.Byte();
                if (b & 0x04)
                    cell.Volume = reader_.Byte();
                if (b & 0x08)
                    cell.Effect = reader_.Byte();
                if (b & 0x10)
                    cell.EffectParameter = reader_.Byte();
            }
            if (cell.Instrument == 255)
                cell.Instrument = 0;
            pattern.SetNote(row, channel, cell);
        }
    }
}
