#pragma once

#include <cstddef>
#include <cstdint>

namespace velapng {

// Undoes one scanline's filter: dst = src + predictor, where the predictor reads the bytes of
// dst already written (left) and prev (the unfiltered row above, zeros for a pass's first row).
// n is the scanline's byte count without the filter byte; src, prev and dst do not overlap.
using TUnfilterKernel = void (*)(const uint8_t* src, const uint8_t* prev, uint8_t* dst, size_t n);

// The kernel for a filter type (0 and anything above 4 copy the row) and bytes per pixel (1 to 4).
TUnfilterKernel SelectUnfilter(uint8_t filterType, unsigned bytesPerPixel);

// The plain byte-by-byte version of every filter, kept as the reference the kernels are tested against.
void UnfilterReference(uint8_t filterType, unsigned bytesPerPixel, const uint8_t* src, const uint8_t* prev,
                       uint8_t* dst, size_t n);

} // namespace velapng
