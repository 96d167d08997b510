#include "VelaSoundSystem/VorbisSetupCheck.h"

#include <cmath>
#include <cstring>
#include <vector>

#include <ogg/ogg.h>

namespace vss {

namespace {

// Bits of a packet, least significant first; reading past the end fails.
class TBitReader {
public:
    TBitReader(const uint8_t* Bytes, int64_t Count)
        : bytes_(Bytes)
        , bits_(Count * 8)
    {
    }

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
TBookCheck checkCodebook(TBitReader& In)
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

bool setupIsSound(const ogg_packet& Packet)
{
    if (Packet.bytes < 7 || Packet.packet[0] != 5 || std::memcmp(Packet.packet + 1, "vorbis", 6) != 0) {
        return true; // not a setup header: the decoder judges it
    }
    TBitReader in(Packet.packet + 7, Packet.bytes - 7);
    uint64_t books;
    if (!in.Read(8, books)) {
        return true;
    }
    for (uint64_t i = 0; i <= books; ++i) {
        const TBookCheck check = checkCodebook(in);
        if (check == TBookCheck::Broken) {
            return false;
        }
        if (check == TBookCheck::Truncated) {
            return true; // the decoder refuses a cut header itself
        }
    }
    return true;
}

// One logical stream followed from its first page to its setup header.
struct TLogicalStream {
    int Serial = 0;
    bool Open = false; // State holds buffers
    int Packets = 0;
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
    while (sound && ogg_sync_pageout(&sync, &page) == 1) {
        const int serial = ogg_page_serialno(&page);
        TLogicalStream* stream = nullptr;
        for (TLogicalStream& s : streams) {
            if (s.Serial == serial) {
                stream = &s;
            }
        }
        if (ogg_page_bos(&page)) {
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
                continue; // a gap: the decoder sees the same gap
            }
            if (++stream->Packets == 3) {
                sound = setupIsSound(packet);
                stream->Close();
            }
        }
    }
    for (TLogicalStream& s : streams) {
        s.Close();
    }
    ogg_sync_clear(&sync);
    return sound;
}

} // namespace vss
