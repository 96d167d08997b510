#pragma once

#include "VelaPNG/PNG.h"

#include <cstdint>
#include <memory>
#include <vector>

// A decode result that is easy to inspect in a test.
struct TDecoded {
    bool ok = false;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;

    // The RGBA bytes of pixel (x, y) as one little-endian word: R | G << 8 | B << 16 | A << 24.
    uint32_t Pixel(int x, int y) const
    {
        const uint8_t* p = rgba.data() + (size_t(y) * width + x) * 4;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }
};

inline TDecoded Decode(const std::vector<uint8_t>& file, bool headerOnly = false)
{
    TDecoded result;
    std::unique_ptr<uint8_t[]> pixels;
    result.ok = DecodePNG(file.data(), file.size(), pixels, result.width, result.height, headerOnly);
    if (result.ok && pixels)
        result.rgba.assign(pixels.get(), pixels.get() + size_t(result.width) * result.height * 4);
    return result;
}
