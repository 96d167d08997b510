// Byte changes in the setup header and audio packets of a real Vorbis
// stream, the way the decoder library would meet them: the input is a list of
// edits (two bytes of offset into those packets, one byte XORed there), the
// stream is paged again with valid checksums and loaded as a sample, which
// decodes every packet. Whole-file mutation rarely keeps a setup header
// readable; these edits mostly do, so they probe where our setup check and
// the decoder differ.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <ogg/ogg.h>

#include "VelaSoundSystem/SoundSystem.h"
#include "VelaSoundSystem/SoundTestData.h"

namespace {

using TPacket = std::vector<uint8_t>;

std::vector<TPacket> packetsOf(const std::vector<uint8_t>& Ogg)
{
    std::vector<TPacket> packets;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(Ogg.size()));
    std::copy(Ogg.begin(), Ogg.end(), buffer);
    ogg_sync_wrote(&sync, static_cast<long>(Ogg.size()));
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);
    ogg_page page;
    while (ogg_sync_pageout(&sync, &page) == 1) {
        ogg_stream_pagein(&stream, &page);
        ogg_packet packet;
        while (ogg_stream_packetout(&stream, &packet) == 1) {
            packets.emplace_back(packet.packet, packet.packet + packet.bytes);
        }
    }
    ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return packets;
}

const std::vector<TPacket>& stereoPackets()
{
    static const std::vector<TPacket> packets
        = packetsOf(soundtest::EncodeOgg(soundtest::Sine(6000, 2, 44100, 440.0, 0.5), 2, 44100));
    return packets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TVelaSoundSystem sound(44100, 2, 16, 1024);
    std::vector<TPacket> packets = stereoPackets();
    size_t editable = 0;
    for (size_t p = 2; p < packets.size(); ++p) {
        editable += packets[p].size();
    }
    for (size_t at = 0; editable > 0 && at + 3 <= Size; at += 3) {
        size_t offset = (size_t(Data[at]) | size_t(Data[at + 1]) << 8) % editable;
        size_t p = 2;
        while (offset >= packets[p].size()) {
            offset -= packets[p++].size();
        }
        packets[p][offset] ^= Data[at + 2];
    }
    const std::vector<uint8_t> ogg = soundtest::PageOggPackets(packets, 1234);
    if (sound.LoadSample(0, ogg.data(), static_cast<int32_t>(ogg.size()), 1)) {
        sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
        sound.MixBlock();
    }
    return 0;
}
