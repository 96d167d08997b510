#pragma once

#include "VelaPNG/PNGInfo.h"

#include <cstddef>
#include <cstdint>

namespace velapng {

// Per-image tables the row converters read: RGBA for every possible sample of an indexed
// row (palette entries, or grey levels with the colour key applied), and the RGB key.
struct TConvertTables {
    uint32_t lookup[256];
    uint32_t rgbKey;   // R | G << 8 | B << 16 of the key
    bool rgbKeyActive; // false when the key cannot match any 8-bit pixel
};

// Writes `pixels` RGBA8 pixels of one unfiltered row, the i-th at dst + i * dstStep bytes.
using TRowConverter = void (*)(const uint8_t* src, uint8_t* dst, size_t pixels, size_t dstStep,
                               const TConvertTables& tables);

// Builds the tables and picks the converter for the image's colour type, bit depth and key.
TRowConverter SelectConverter(const TPNGInfo& info, TConvertTables& tables);

// Undoes the CgBI variant's premultiplied BGRA order on a whole decoded image.
void FixCgBIPixels(uint8_t* rgba, size_t pixels);

} // namespace velapng
