#pragma once

// PNG files made in the test for the texture tests: patterned so that any skew of rows or
// swap of channels shows.

#include "VelaPNG/PNGBuilder.h"

#include <cstdint>
#include <vector>

inline uint8_t PatternChannel(int x, int y, int c)
{
    return uint8_t(c == 0 ? x * 7 + y : c == 1 ? (x ^ y) + 3 * c : (x * y) >> 3);
}

// Raw pixels of the pattern, channels 3 or 4 (alpha from alphaAt, 255 elsewhere).
inline std::vector<uint8_t> PatternPixels(int width, int height, int channels, int alphaX = -1, uint8_t alpha = 255)
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c)
                pixels.push_back(PatternChannel(x, y, c));
            if (channels == 4)
                pixels.push_back(x == alphaX && y == 0 ? alpha : 255);
        }
    return pixels;
}

// The same pixels as an 8-bit RGB (3 channels) or RGBA (4) PNG with unfiltered rows.
inline std::vector<uint8_t> PatternPNG(int width, int height, int channels, int alphaX = -1, uint8_t alpha = 255)
{
    const std::vector<uint8_t> pixels = PatternPixels(width, height, channels, alphaX, alpha);
    std::vector<uint8_t> rows;
    const size_t stride = size_t(width) * channels;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), pixels.begin() + y * stride, pixels.begin() + (y + 1) * stride);
    }
    return TPNGBuilder().Header(width, height, 8, channels == 4 ? 6 : 2).Data(rows).End();
}
