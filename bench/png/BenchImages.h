#pragma once

// Synthetic images for the decoder benchmark, encoded by libpng with its default settings
// (zlib level 6, adaptive filters), so every decoder reads the same bytes.

#include <cstdint>
#include <vector>

struct TBenchImage {
    const char* name;
    std::vector<uint8_t> png;
};

// A 2048 x 2048 RGBA sprite atlas: shaded sprites with soft edges over about two thirds
// of transparent background.
TBenchImage MakeAtlas();

// An opaque RGB picture of smooth gradients and fine noise, like a rendered background.
TBenchImage MakeOpaque(const char* name, uint32_t width, uint32_t height);

// The concatenated IDAT payload of a PNG, for timing zlib's inflate alone.
std::vector<uint8_t> ImageData(const std::vector<uint8_t>& png);
