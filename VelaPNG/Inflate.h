#pragma once

#include "VelaPNG/PNGInfo.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <zlib.h>

namespace velapng {

// Inflates the concatenated IDAT payloads straight from the file buffer and hands out the
// filtered scanlines in order. Many rows are inflated per zlib call into one staging block,
// which keeps zlib on its fast path and copies less into its window than row-by-row calls.
class TScanlineStream {
public:
    TScanlineStream() = default;
    ~TScanlineStream();
    TScanlineStream(const TScanlineStream&) = delete;
    TScanlineStream& operator=(const TScanlineStream&) = delete;

    // Prepares a zlib (RFC 1950) stream, or a raw deflate one for CgBI files. totalBytes is
    // the filtered image size; maxRowBytes the longest scanline including its filter byte.
    bool Open(const TPNGInfo& info, size_t totalBytes, size_t maxRowBytes);

    // The next rowBytes bytes of filtered image data, or nullptr when the stream fails or ends early.
    const uint8_t* NextRow(size_t rowBytes);

    // Inflates whatever follows the image data to the stream's end and checks it: the zlib
    // trailer must match the Adler-32 of all inflated bytes and be the last four bytes of the data.
    bool Finish();

private:
    void GatherData(const TPNGInfo& info);
    bool Fill(size_t wanted);
    bool Inflate(uint8_t* out, size_t size, size_t& produced);

    const TPNGInfo* Info = nullptr;
    z_stream Zlib{};
    bool ZlibOpen = false;
    bool Ended = false;
    std::vector<TDataSpan> Spans; // the compressed stream, one span once gathered
    std::unique_ptr<uint8_t[]> Gathered;
    size_t NextSpan = 0;
    uint32_t Checksum = 1; // Adler-32 of every byte inflated so far
    size_t Remaining = 0;  // image bytes not yet inflated
    std::unique_ptr<uint8_t[]> Block;
    size_t BlockSize = 0;
    size_t Pos = 0;
    size_t Filled = 0;
};

} // namespace velapng
