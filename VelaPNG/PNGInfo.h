#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// What the chunk walk learns about a PNG before any pixel is decoded.
namespace velapng {

enum TColourType : uint8_t { kGrey = 0, kRGB = 2, kPalette = 3, kGreyAlpha = 4, kRGBA = 6 };

// One IDAT chunk's payload inside the caller's buffer; the stream is their concatenation.
struct TDataSpan {
    const uint8_t* data;
    size_t size;
};

// The colour key of a grey or RGB image. A one-byte key value v stands for the 16-bit sample
// v x 257 and is compared with the widened sample; a two-byte key is at the image's own bit
// depth and is compared with the raw sample, as the PNG standard writes it.
struct TColourKey {
    bool present = false;
    bool twoByte = false;
    uint16_t value[3] = {0, 0, 0};
};

struct TPNGInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
    bool cgbi = false; // raw deflate stream and premultiplied BGRA pixels
    bool hasPalette = false;
    uint32_t paletteSize = 0; // entries read from PLTE
    uint32_t palette[256] = {}; // RGBA in memory order; entries past paletteSize are opaque black
    TColourKey key;
    std::vector<TDataSpan> idat; // the compressed image data, in file order
    size_t idatSize = 0; // total bytes in idat
};

// Channels per pixel of a colour type (palette: one index).
unsigned ChannelCount(uint8_t colourType);

// Walks the chunks of a PNG. Stops with success after IHDR in header-only mode, otherwise at
// IEND once every rule of the chunks before it held. False on any broken rule.
bool ReadChunks(const uint8_t* data, size_t size, bool headerOnly, TPNGInfo& info);

} // namespace velapng
