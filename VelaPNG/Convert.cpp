#include "VelaPNG/Convert.h"

#include <bit>
#include <cstring>

namespace velapng {

static_assert(std::endian::native == std::endian::little, "pixels are stored as little-endian RGBA words");

namespace {

inline void StoreWord(uint8_t* dst, uint32_t rgba) { std::memcpy(dst, &rgba, 4); }

inline uint32_t LoadRGB(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16); }

// Samples below 8 bits are packed most significant first; each one indexes the lookup table.
template <unsigned Depth>
void IndexedRow(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep, const TConvertTables& tables)
{
    constexpr unsigned perByte = 8 / Depth;
    constexpr unsigned mask = (1u << Depth) - 1;
    const size_t whole = pixels / perByte;
    for (size_t byte = 0; byte < whole; ++byte) {
        const unsigned packed = src[byte];
        for (unsigned k = 0; k < perByte; ++k) {
            StoreWord(dst, tables.lookup[(packed >> (8 - Depth * (k + 1))) & mask]);
            dst += dstStep;
        }
    }
    const unsigned rest = unsigned(pixels % perByte);
    for (unsigned k = 0; k < rest; ++k) {
        StoreWord(dst, tables.lookup[(src[whole] >> (8 - Depth * (k + 1))) & mask]);
        dst += dstStep;
    }
}

void RGBRow(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep, const TConvertTables&)
{
    for (size_t i = 0; i < pixels; ++i, src += 3, dst += dstStep)
        StoreWord(dst, LoadRGB(src) | 0xff000000u);
}

void RGBKeyedRow(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep, const TConvertTables& tables)
{
    const uint32_t key = tables.rgbKey;
    for (size_t i = 0; i < pixels; ++i, src += 3, dst += dstStep) {
        const uint32_t rgb = LoadRGB(src);
        StoreWord(dst, rgb | (uint32_t(-int32_t(rgb != key)) & 0xff000000u));
    }
}

void GreyAlphaRow(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep, const TConvertTables&)
{
    for (size_t i = 0; i < pixels; ++i, src += 2, dst += dstStep)
        StoreWord(dst, uint32_t(src[0]) * 0x010101u | (uint32_t(src[1]) << 24));
}

void RGBARow(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep, const TConvertTables&)
{
    if (dstStep == 4) {
        std::memcpy(dst, src, pixels * 4);
        return;
    }
    for (size_t i = 0; i < pixels; ++i, src += 4, dst += dstStep)
        std::memcpy(dst, src, 4);
}

// Widening to 16 bits replicates the sample's bits; the high byte is what is kept.
uint32_t Widen16(unsigned sample, unsigned depth)
{
    static constexpr uint32_t kScale[9] = {0, 65535, 21845, 0, 4369, 0, 0, 0, 257};
    return sample * kScale[depth];
}

void BuildGreyTable(const TPNGInfo& info, TConvertTables& tables)
{
    const unsigned depth = info.bitDepth;
    const unsigned levels = 1u << depth;
    for (unsigned s = 0; s < 256; ++s)
        tables.lookup[s] = 0xff000000u;
    for (unsigned s = 0; s < levels; ++s) {
        const uint32_t wide = Widen16(s, depth);
        const uint32_t grey = wide >> 8;
        bool keyed = false;
        if (info.key.present)
            keyed = info.key.twoByte ? s == info.key.value[0] : wide == info.key.value[0] * 257u;
        tables.lookup[s] = grey * 0x010101u | (keyed ? 0u : 0xff000000u);
    }
}

} // namespace

TRowConverter SelectConverter(const TPNGInfo& info, TConvertTables& tables)
{
    tables.rgbKey = 0;
    tables.rgbKeyActive = false;
    switch (info.colourType) {
    case kGrey:
        BuildGreyTable(info, tables);
        break;
    case kPalette:
        std::memcpy(tables.lookup, info.palette, sizeof(tables.lookup));
        break;
    case kRGB:
        // At 8 bits both key forms reduce to comparing raw samples; a two-byte value above 255
        // can never match.
        if (info.key.present && info.key.value[0] < 256 && info.key.value[1] < 256 && info.key.value[2] < 256) {
            tables.rgbKey =
                uint32_t(info.key.value[0]) | (uint32_t(info.key.value[1]) << 8) | (uint32_t(info.key.value[2]) << 16);
            tables.rgbKeyActive = true;
        }
        return tables.rgbKeyActive ? RGBKeyedRow : RGBRow;
    case kGreyAlpha:
        return GreyAlphaRow;
    default:
        return RGBARow;
    }
    switch (info.bitDepth) {
    case 1:
        return IndexedRow<1>;
    case 2:
        return IndexedRow<2>;
    case 4:
        return IndexedRow<4>;
    default:
        return IndexedRow<8>;
    }
}

void FixCgBIPixels(uint8_t* rgba, size_t pixels)
{
    // Opaque and fully transparent pixels only swap red and blue; the rest are un-premultiplied,
    // clamped in case a stored channel exceeds its alpha.
    for (size_t i = 0; i < pixels; ++i, rgba += 4) {
        const unsigned a = rgba[3];
        const unsigned b = rgba[0];
        const unsigned g = rgba[1];
        const unsigned r = rgba[2];
        if (a == 0 || a == 255) {
            rgba[0] = uint8_t(r);
            rgba[2] = uint8_t(b);
            continue;
        }
        rgba[0] = uint8_t(r * 255 / a > 255 ? 255 : r * 255 / a);
        rgba[1] = uint8_t(g * 255 / a > 255 ? 255 : g * 255 / a);
        rgba[2] = uint8_t(b * 255 / a > 255 ? 255 : b * 255 / a);
    }
}

} // namespace velapng
