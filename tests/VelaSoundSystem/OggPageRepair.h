#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Fuzzing help: rewrites the checksum of every complete Ogg page, so that
// mutated pages reach the Vorbis decoder instead of being dropped by the page
// layer's CRC test.
namespace soundtest {

inline uint32_t OggCrc(const uint8_t* Bytes, size_t Count)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < Count; ++i) {
        crc ^= uint32_t(Bytes[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

inline void RepairOggPages(std::vector<uint8_t>& Bytes)
{
    size_t at = 0;
    while (at + 27 <= Bytes.size()) {
        uint8_t* page = Bytes.data() + at;
        if (page[0] != 'O' || page[1] != 'g' || page[2] != 'g' || page[3] != 'S') {
            ++at;
            continue;
        }
        const size_t segments = page[26];
        if (at + 27 + segments > Bytes.size()) {
            return;
        }
        size_t body = 0;
        for (size_t s = 0; s < segments; ++s) {
            body += page[27 + s];
        }
        const size_t length = 27 + segments + body;
        if (at + length > Bytes.size()) {
            return;
        }
        page[22] = page[23] = page[24] = page[25] = 0;
        const uint32_t crc = OggCrc(page, length);
        page[22] = uint8_t(crc);
        page[23] = uint8_t(crc >> 8);
        page[24] = uint8_t(crc >> 16);
        page[25] = uint8_t(crc >> 24);
        at += length;
    }
}

} // namespace soundtest
