#include "VelaSoundSystem/VorbisSetupCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <ogg/ogg.h>

namespace vss {

namespace {

// Bits of a packet, least significant first; reading past the end fails.
class TBitReader {
public:
    TBitReader(const uint8_t* Bytes, int64_t Count) : bytes_(Bytes), bits_(Count * 8) {}

    bool Read(int Count, uint64_t& Value)
    {
        if (Count < 0 || position_ + Count > bits_) {
            return false;
        }
        Value = 0;
        for (int i = 0; i < Count; ++i, ++position_) {
            Value |= uint64_t((bytes_[position_ >> 3] >> (position_ & 7)) & 1) << i;
        }
        return true;
    }
    bool Skip(uint64_t Count)
    {
        if (Count > uint64_t(bits_ - position_)) {
            return false;
        }
        position_ += static_cast<int64_t>(Count);
        return true;
    }

private:
    const uint8_t* bytes_;
    int64_t bits_;
    int64_t position_ = 0;
};

int bitsToHold(uint64_t Value)
{
    int bits = 0;
    while (Value > 0) {
        ++bits;
        Value >>= 1;
    }
    return bits;
}

// Largest r with r^Dim <= Entries.
uint64_t latticeValues(uint64_t Entries, uint64_t Dim)
{
    auto fits = [&](uint64_t r) {
        uint64_t product = 1;
        for (uint64_t i = 0; i < Dim; ++i) {
            if (product > Entries / (r == 0 ? 1 : r)) {
                return r == 0;
            }
            product *= r;
        }
        return product <= Entries;
    };
    uint64_t r = static_cast<uint64_t>(std::floor(std::pow(double(Entries), 1.0 / double(Dim))));
    while (r > 0 && !fits(r)) {
        --r;
    }
    while (fits(r + 1)) {
        ++r;
    }
    return r;
}

enum class TBookCheck { Sound, Broken, Truncated };

// Reads one codebook and checks the completeness of its code: the sum of
// 2^-length over the used entries must be exactly 1.
TBookCheck checkCodebook(TBitReader& In, bool& ValueMapped)
{
    uint64_t sync, dim, entries, ordered;
    if (!In.Read(24, sync) || !In.Read(16, dim) || !In.Read(24, entries) || !In.Read(1, ordered)) {
        return TBookCheck::Truncated;
    }
    if (sync != 0x564342 || dim == 0) {
        return TBookCheck::Broken;
    }
    uint64_t space = 0; // sum of 2^(32 - length)
    uint64_t used = 0;
    auto take = [&](uint64_t Length, uint64_t Count) {
        used += Count;
        space += Count << (32 - Length);
    };
    if (ordered == 0) {
        uint64_t sparse;
        if (!In.Read(1, sparse)) {
            return TBookCheck::Truncated;
        }
        for (uint64_t e = 0; e < entries; ++e) {
            uint64_t present = 1, length;
            if (sparse != 0 && !In.Read(1, present)) {
                return TBookCheck::Truncated;
            }
            if (present != 0) {
                if (!In.Read(5, length)) {
                    return TBookCheck::Truncated;
                }
                take(length + 1, 1);
            }
            if (space > (uint64_t(1) << 32) && used > 1) {
                return TBookCheck::Broken;
            }
        }
    } else {
        uint64_t length;
        if (!In.Read(5, length)) {
            return TBookCheck::Truncated;
        }
        ++length;
        for (uint64_t current = 0; current < entries; ++length) {
            uint64_t count;
            if (length > 32 || !In.Read(bitsToHold(entries - current), count)) {
                return length > 32 ? TBookCheck::Broken : TBookCheck::Truncated;
            }
            if (count > entries - current) {
                return TBookCheck::Broken;
            }
            take(length, count);
            current += count;
            if (space > (uint64_t(1) << 32) && used > 1) {
                return TBookCheck::Broken;
            }
        }
    }
    if (used == 0 || (used > 1 && space != (uint64_t(1) << 32))) {
        return TBookCheck::Broken;
    }
    uint64_t lookup;
    if (!In.Read(4, lookup)) {
        return TBookCheck::Truncated;
    }
    ValueMapped = lookup != 0;
    if (lookup == 1 || lookup == 2) {
        uint64_t minimum, delta, valueBits, sequence;
        if (!In.Read(32, minimum) || !In.Read(32, delta) || !In.Read(4, valueBits) || !In.Read(1, sequence)) {
            return TBookCheck::Truncated;
        }
        const uint64_t values = lookup == 1 ? latticeValues(entries, dim) : entries * dim;
        if (!In.Skip((valueBits + 1) * values)) {
            return TBookCheck::Truncated;
        }
    } else if (lookup != 0) {
        return TBookCheck::Broken;
    }
    return TBookCheck::Sound;
}

// Reads Count bits into Value and checks Value < Limit.
bool readBelow(TBitReader& In, int Count, uint64_t Limit, uint64_t& Value)
{
    return In.Read(Count, Value) && Value < Limit;
}

bool checkFloor(TBitReader& In, uint64_t Books)
{
    uint64_t type, v;
    if (!In.Read(16, type)) {
        return false;
    }
    if (type == 0) {
        uint64_t bookCount;
        if (!In.Read(8 + 16 + 16 + 6 + 8, v) || !In.Read(4, bookCount)) {
            return false;
        }
        for (uint64_t i = 0; i <= bookCount; ++i) {
            if (!readBelow(In, 8, Books, v)) {
                return false;
            }
        }
        return true;
    }
    if (type != 1) {
        return false;
    }
    uint64_t partitions;
    if (!In.Read(5, partitions)) {
        return false;
    }
    uint64_t classOf[32];
    int64_t maxClass = -1;
    for (uint64_t i = 0; i < partitions; ++i) {
        if (!In.Read(4, classOf[i])) {
            return false;
        }
        maxClass = std::max<int64_t>(maxClass, static_cast<int64_t>(classOf[i]));
    }
    uint64_t dimensions[16] = {};
    for (int64_t c = 0; c <= maxClass; ++c) {
        uint64_t subclasses;
        if (!In.Read(3, dimensions[c]) || !In.Read(2, subclasses)) {
            return false;
        }
        ++dimensions[c];
        if (subclasses != 0 && !readBelow(In, 8, Books, v)) {
            return false;
        }
        for (uint64_t j = 0; j < (uint64_t(1) << subclasses); ++j) {
            // Stored plus one; 0 means no book.
            if (!readBelow(In, 8, Books + 1, v)) {
                return false;
            }
        }
    }
    uint64_t multiplier, rangeBits;
    if (!In.Read(2, multiplier) || !In.Read(4, rangeBits)) {
        return false;
    }
    uint64_t points = 2;
    for (uint64_t i = 0; i < partitions; ++i) {
        points += dimensions[classOf[i]];
        if (points > 65 || !In.Skip(dimensions[classOf[i]] * rangeBits)) {
            return false;
        }
    }
    return true;
}

bool checkResidue(TBitReader& In, const std::vector<bool>& ValueMapped)
{
    const uint64_t books = ValueMapped.size();
    uint64_t type, begin, end, size, classifications, classbook, v;
    if (!In.Read(16, type) || type > 2 || !In.Read(24, begin) || !In.Read(24, end) || !In.Read(24, size) ||
        !In.Read(6, classifications) || !readBelow(In, 8, books, classbook)) {
        return false;
    }
    ++classifications;
    uint64_t cascade[64];
    for (uint64_t i = 0; i < classifications; ++i) {
        uint64_t low, flag, high = 0;
        if (!In.Read(3, low) || !In.Read(1, flag) || (flag != 0 && !In.Read(5, high))) {
            return false;
        }
        cascade[i] = high * 8 + low;
    }
    for (uint64_t i = 0; i < classifications; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((cascade[i] >> bit) & 1) {
                // Residue vectors come from value-mapped books only.
                if (!readBelow(In, 8, books, v) || !ValueMapped[v]) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool checkMapping(TBitReader& In, uint64_t Channels, uint64_t Floors, uint64_t Residues)
{
    uint64_t type, flag, submaps = 1, v;
    if (!In.Read(16, type) || type != 0 || !In.Read(1, flag)) {
        return false;
    }
    if (flag != 0) {
        if (!In.Read(4, submaps)) {
            return false;
        }
        ++submaps;
    }
    if (!In.Read(1, flag)) {
        return false;
    }
    if (flag != 0) {
        uint64_t steps;
        if (!In.Read(8, steps)) {
            return false;
        }
        const int bits = bitsToHold(Channels - 1);
        for (uint64_t i = 0; i <= steps; ++i) {
            uint64_t magnitude, angle;
            if (!readBelow(In, bits, Channels, magnitude) || !readBelow(In, bits, Channels, angle) ||
                magnitude == angle) {
                return false;
            }
        }
    }
    if (!In.Read(2, v) || v != 0) {
        return false;
    }
    if (submaps > 1) {
        for (uint64_t c = 0; c < Channels; ++c) {
            if (!readBelow(In, 4, submaps, v)) {
                return false;
            }
        }
    }
    for (uint64_t i = 0; i < submaps; ++i) {
        if (!In.Read(8, v) || !readBelow(In, 8, Floors, v) || !readBelow(In, 8, Residues, v)) {
            return false;
        }
    }
    return true;
}

// The whole setup header, as the format defines it: complete codes, every
// index in range, and the framing bit at its end.
bool setupIsSound(const ogg_packet& Packet, uint64_t Channels)
{
    if (Packet.bytes < 7 || Packet.packet[0] != 5 || std::memcmp(Packet.packet + 1, "vorbis", 6) != 0) {
        return false;
    }
    TBitReader in(Packet.packet + 7, Packet.bytes - 7);
    uint64_t count, v;
    if (!in.Read(8, count)) {
        return false;
    }
    std::vector<bool> valueMapped;
    for (uint64_t i = 0; i <= count; ++i) {
        bool mapped = false;
        if (checkCodebook(in, mapped) != TBookCheck::Sound) {
            return false;
        }
        valueMapped.push_back(mapped);
    }
    if (!in.Read(6, count)) {
        return false;
    }
    for (uint64_t i = 0; i <= count; ++i) {
        if (!in.Read(16, v) || v != 0) {
            return false;
        }
    }
    uint64_t floors, residues, mappings, modes;
    if (!in.Read(6, floors)) {
        return false;
    }
    for (uint64_t i = 0; i <= floors; ++i) {
        if (!checkFloor(in, valueMapped.size())) {
            return false;
        }
    }
    if (!in.Read(6, residues)) {
        return false;
    }
    for (uint64_t i = 0; i <= residues; ++i) {
        if (!checkResidue(in, valueMapped)) {
            return false;
        }
    }
    if (!in.Read(6, mappings)) {
        return false;
    }
    for (uint64_t i = 0; i <= mappings; ++i) {
        if (!checkMapping(in, Channels, floors + 1, residues + 1)) {
            return false;
        }
    }
    if (!in.Read(6, modes)) {
        return false;
    }
    for (uint64_t i = 0; i <= modes; ++i) {
        if (!in.Read(1, v) || !in.Read(16, v) || v != 0 || !in.Read(16, v) || v != 0 ||
            !readBelow(in, 8, mappings + 1, v)) {
            return false;
        }
    }
    return in.Read(1, v) && v == 1;
}

uint32_t littleEndian32(const uint8_t* Bytes)
{
    return uint32_t(Bytes[0]) | uint32_t(Bytes[1]) << 8 | uint32_t(Bytes[2]) << 16 | uint32_t(Bytes[3]) << 24;
}

// Channels of a sound identification header (version 0, at least one channel,
// a rate, block sizes 2^6 <= short <= long <= 2^13, the framing bit), or 0.
uint64_t identifiedChannels(const ogg_packet& Packet)
{
    const uint8_t* p = Packet.packet;
    if (Packet.bytes < 30 || p[0] != 1 || std::memcmp(p + 1, "vorbis", 6) != 0) {
        return 0;
    }
    const int shortBlock = p[28] & 15;
    const int longBlock = p[28] >> 4;
    const bool sound = littleEndian32(p + 7) == 0 && p[11] != 0 && littleEndian32(p + 12) != 0 && shortBlock >= 6 &&
                       shortBlock <= longBlock && longBlock <= 13 && (p[29] & 1) != 0;
    return sound ? p[11] : 0;
}

// One logical stream followed from its first page to its setup header.
struct TLogicalStream {
    int Serial = 0;
    bool Open = false; // State holds buffers
    int Packets = 0;
    uint64_t Channels = 0; // from the identification header, once read
    ogg_stream_state State;

    void Close()
    {
        if (Open) {
            ogg_stream_clear(&State);
            Open = false;
        }
    }
};

// More logical streams than any real file has; beyond it the image is refused.
constexpr size_t MaxLogicalStreams = 256;

} // namespace

bool VorbisCodebooksAreSound(const uint8_t* Data, int32_t Size)
{
    if (Data == nullptr || Size <= 0) {
        return true;
    }
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, Size);
    if (buffer == nullptr) {
        ogg_sync_clear(&sync);
        return false;
    }
    std::memcpy(buffer, Data, static_cast<size_t>(Size));
    ogg_sync_wrote(&sync, Size);

    std::vector<TLogicalStream> streams;
    streams.reserve(MaxLogicalStreams);
    bool sound = true;
    ogg_page page;
    int paged;
    while (sound && (paged = ogg_sync_pageout(&sync, &page)) != 0) {
        if (paged < 0) {
            continue; // bytes skipped to find the next page, as the decoder does
        }
        const int serial = ogg_page_serialno(&page);
        TLogicalStream* stream = nullptr;
        for (TLogicalStream& s : streams) {
            if (s.Serial == serial) {
                stream = &s;
            }
        }
        if (ogg_page_bos(&page)) {
            // A second first page in the middle of a stream's headers: the
            // decoder reads on through it, so this check would lose sight of
            // the setup header the decoder ends up with.
            if (stream != nullptr && stream->Open) {
                sound = false;
                break;
            }
            // A new stream, or a new link that reuses a serial number.
            if (stream == nullptr) {
                if (streams.size() == MaxLogicalStreams) {
                    sound = false;
                    break;
                }
                streams.emplace_back();
                stream = &streams.back();
                stream->Serial = serial;
            }
            stream->Close();
            ogg_stream_init(&stream->State, serial);
            stream->Open = true;
            stream->Packets = 0;
        }
        if (stream == nullptr || !stream->Open) {
            continue;
        }
        ogg_stream_pagein(&stream->State, &page);
        ogg_packet packet;
        int result;
        while (stream->Open && (result = ogg_stream_packetout(&stream->State, &packet)) != 0) {
            if (result < 0) {
                // A gap inside the headers leaves it open which packet the
                // decoder takes for the setup header.
                if (stream->Packets > 0) {
                    sound = false;
                    break;
                }
                continue;
            }
            ++stream->Packets;
            if (stream->Packets == 1) {
                // Only Vorbis streams: the decoder library leaks when it
                // meets a link that holds none, and sounds need nothing else.
                stream->Channels = identifiedChannels(packet);
                if (stream->Channels == 0) {
                    sound = false;
                    break;
                }
            } else if (stream->Packets == 3) {
                sound = setupIsSound(packet, stream->Channels);
                stream->Close();
            }
        }
    }
    for (TLogicalStream& s : streams) {
        // A stream still open has Vorbis headers that never complete, or a
        // first page without its first packet: nothing the decoder could
        // play, and the decoder's own refusal of a broken later link leaks.
        if (s.Open) {
            sound = false;
        }
        s.Close();
    }
    ogg_sync_clear(&sync);
    return sound;
}

} // namespace vss
