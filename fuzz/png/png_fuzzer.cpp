// Feeds arbitrary bytes to the PNG decoder in header-only and full mode.

#include "VelaPNG/PNG.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<uint8_t[]> pixels;
    int32_t width = 0, height = 0;
    const bool header = DecodePNG(data, size, pixels, width, height, true);
    if (pixels)
        std::abort();
    if (DecodePNG(data, size, pixels, width, height, false)) {
        // A full decode implies a readable header; touching the buffer checks its size.
        if (!header || !pixels || width < 1 || height < 1)
            std::abort();
        volatile uint8_t sink = 0;
        const size_t bytes = size_t(width) * size_t(height) * 4;
        for (size_t i = 0; i < bytes; i += 4093)
            sink = sink + pixels[i];
        sink = sink + pixels[bytes - 1];
    } else if (pixels) {
        std::abort();
    }
    return 0;
}

#if defined(PNG_FUZZ_MUTATOR)
// Random bytes almost never survive the CRC of every chunk or the zlib checksum, so the
// mutator mostly repairs both: half the time it mutates the inflated image data and deflates
// it again, and it rewrites the chunk CRCs on seven inputs of eight.

#include <algorithm>
#include <random>
#include <vector>
#include <zlib.h>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

uint32_t ReadBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void WriteBE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

void FixCrcs(uint8_t* data, size_t size)
{
    size_t pos = 8;
    while (size >= 12 && pos <= size - 12) {
        const uint32_t length = ReadBE32(data + pos);
        if (length > size - pos - 12)
            return;
        WriteBE32(data + pos + 8 + length, uint32_t(crc32(0, data + pos + 4, 4 + length)));
        pos += 12 + size_t(length);
    }
}

// Inflates the IDAT chunks, mutates the scanlines and writes the file back with one IDAT.
size_t MutateImageData(uint8_t* data, size_t size, size_t maxSize)
{
    std::vector<uint8_t> before, after, compressed;
    size_t pos = 8;
    bool seenData = false;
    while (size >= 12 && pos <= size - 12) {
        const uint32_t length = ReadBE32(data + pos);
        if (length > size - pos - 12)
            return 0;
        const uint8_t* chunk = data + pos;
        const size_t whole = 12 + size_t(length);
        if (std::memcmp(chunk + 4, "IDAT", 4) == 0) {
            compressed.insert(compressed.end(), chunk + 8, chunk + 8 + length);
            seenData = true;
        } else {
            (seenData ? after : before).insert((seenData ? after : before).end(), chunk, chunk + whole);
        }
        pos += whole;
    }
    if (!seenData || size < 8)
        return 0;
    // Kept between calls: zeroing a fresh megabyte per mutation would dominate the run.
    static std::vector<uint8_t> raw;
    raw.resize(1 << 20);
    uLongf rawSize = uLongf(raw.size());
    if (uncompress(raw.data(), &rawSize, compressed.data(), uLong(compressed.size())) != Z_OK)
        return 0;
    raw.resize(std::max<size_t>(raw.size(), rawSize * 2 + 64));
    rawSize = LLVMFuzzerMutate(raw.data(), rawSize, raw.size());
    uLongf packedSize = compressBound(rawSize);
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), rawSize) != Z_OK)
        return 0;
    const size_t total = 8 + before.size() + 12 + packedSize + after.size();
    if (total > maxSize)
        return 0;
    uint8_t* out = data + 8;
    if (!before.empty())
        std::memcpy(out, before.data(), before.size());
    out += before.size();
    WriteBE32(out, uint32_t(packedSize));
    std::memcpy(out + 4, "IDAT", 4);
    std::memcpy(out + 8, packed.data(), packedSize);
    out += 12 + packedSize;
    if (!after.empty())
        std::memcpy(out, after.data(), after.size());
    return total;
}

} // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed)
{
    std::minstd_rand random(seed);
    size_t mutated = 0;
    if (random() % 2 == 0)
        mutated = MutateImageData(data, size, maxSize);
    if (mutated == 0)
        mutated = LLVMFuzzerMutate(data, size, maxSize);
    if (random() % 8 != 0)
        FixCrcs(data, mutated);
    return mutated;
}
#endif
