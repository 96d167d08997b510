#include "VelaPNG/PNGInfo.h"

#include <cstring>
#include <zlib.h>

namespace velapng {

namespace {

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr uint32_t kMaxDimension = 16777216;

uint32_t ReadBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint16_t ReadBE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

bool IsType(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// The chunk's CRC covers its type and data.
bool CrcMatches(const uint8_t* type, uint32_t length, uint32_t stored)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, type, 4u + length);
    return uint32_t(crc) == stored;
}

// The PNG standard admits only these pairings; anything else is an invalid file whose meaning
// is nobody's guess, so it is refused rather than decoded some way.
bool DepthFitsColourType(uint8_t depth, uint8_t colourType)
{
    const bool lowDepth = depth == 1 || depth == 2 || depth == 4 || depth == 8;
    switch (colourType) {
    case kGrey:
    case kPalette:
        return lowDepth;
    case kRGB:
    case kGreyAlpha:
    case kRGBA:
        return depth == 8;
    default:
        return false;
    }
}

// The image size limit keeps width x height x channels within 2^30 samples.
bool WithinSizeLimit(uint32_t width, uint32_t height, uint8_t colourType)
{
    const uint64_t perChannel = (uint64_t(1) << 30) / width;
    const uint64_t limit = colourType == kPalette ? perChannel >> 2 : perChannel / ChannelCount(colourType);
    return height <= limit;
}

class TChunkWalk {
public:
    TChunkWalk(bool headerOnly, TPNGInfo& info) : HeaderOnly(headerOnly), Info(info) {}

    // Applies one chunk's rule. Sets Done when the walk has reached its end.
    bool Apply(const uint8_t* type, const uint8_t* body, uint32_t length)
    {
        if (IsType(type, "IHDR"))
            return Header(body, length);
        if (IsType(type, "PLTE"))
            return Palette(body, length);
        if (IsType(type, "tRNS"))
            return Transparency(body, length);
        if (IsType(type, "IDAT"))
            return ImageData(body, length);
        if (IsType(type, "IEND"))
            return End();
        if (IsType(type, "CgBI"))
            Info.cgbi = true;
        return true;
    }

    bool Done = false;

private:
    bool Header(const uint8_t* body, uint32_t length)
    {
        if (SeenHeader || length != 13)
            return false;
        SeenHeader = true;
        Info.width = ReadBE32(body);
        Info.height = ReadBE32(body + 4);
        if (Info.width < 1 || Info.width > kMaxDimension || Info.height < 1 || Info.height > kMaxDimension)
            return false;
        if (HeaderOnly) {
            Done = true;
            return true;
        }
        Info.bitDepth = body[8];
        Info.colourType = body[9];
        Info.interlace = body[12];
        if (!DepthFitsColourType(Info.bitDepth, Info.colourType))
            return false;
        if (body[10] != 0 || body[11] != 0 || Info.interlace > 1)
            return false;
        return WithinSizeLimit(Info.width, Info.height, Info.colourType);
    }

    bool Palette(const uint8_t* body, uint32_t length)
    {
        if (!SeenHeader || Info.colourType != kPalette || length % 3 != 0 || length / 3 > 256)
            return false;
        Info.hasPalette = true;
        Info.paletteSize = length / 3;
        for (uint32_t i = 0; i < 256; ++i)
            Info.palette[i] = 0xff000000u;
        for (uint32_t i = 0; i < Info.paletteSize; ++i) {
            const uint8_t* rgb = body + 3 * i;
            Info.palette[i] = uint32_t(rgb[0]) | (uint32_t(rgb[1]) << 8) | (uint32_t(rgb[2]) << 16) | 0xff000000u;
        }
        return true;
    }

    bool Transparency(const uint8_t* body, uint32_t length)
    {
        if (!SeenHeader || !Info.idat.empty())
            return false;
        switch (Info.colourType) {
        case kPalette:
            if (!Info.hasPalette || length > Info.paletteSize)
                return false;
            for (uint32_t i = 0; i < length; ++i)
                Info.palette[i] = (Info.palette[i] & 0x00ffffffu) | (uint32_t(body[i]) << 24);
            return true;
        case kGrey:
        case kRGB: {
            const unsigned channels = ChannelCount(Info.colourType);
            if (length != channels && length != 2 * channels)
                return false;
            Info.key.present = true;
            Info.key.twoByte = length == 2 * channels;
            for (unsigned c = 0; c < channels; ++c)
                Info.key.value[c] = Info.key.twoByte ? ReadBE16(body + 2 * c) : body[c];
            return true;
        }
        default:
            // An alpha channel already says everything; a key of one byte per channel is tolerated
            // and has no effect.
            return length == ChannelCount(Info.colourType);
        }
    }

    bool ImageData(const uint8_t* body, uint32_t length)
    {
        if (!SeenHeader || (Info.colourType == kPalette && !Info.hasPalette))
            return false;
        Info.idat.push_back({body, length});
        Info.idatSize += length;
        return true;
    }

    bool End()
    {
        if (!SeenHeader || Info.idat.empty() || (Info.colourType == kPalette && !Info.hasPalette))
            return false;
        Done = true;
        return true;
    }

    bool HeaderOnly;
    TPNGInfo& Info;
    bool SeenHeader = false;
};

} // namespace

unsigned ChannelCount(uint8_t colourType)
{
    switch (colourType) {
    case kRGB:
        return 3;
    case kGreyAlpha:
        return 2;
    case kRGBA:
        return 4;
    default:
        return 1;
    }
}

bool ReadChunks(const uint8_t* data, size_t size, bool headerOnly, TPNGInfo& info)
{
    if (size <= 8 || std::memcmp(data, kSignature, 8) != 0)
        return false;
    TChunkWalk walk(headerOnly, info);
    size_t pos = 8;
    while (size - pos >= 12) {
        const uint32_t length = ReadBE32(data + pos);
        if (length > size - pos - 12)
            return false;
        const uint8_t* type = data + pos + 4;
        const uint8_t* body = type + 4;
        if (!CrcMatches(type, length, ReadBE32(body + length)))
            return false;
        if (!walk.Apply(type, body, length))
            return false;
        if (walk.Done)
            return true;
        pos += 12 + size_t(length);
    }
    return false;
}

} // namespace velapng
