#pragma once

#include <cstddef>
#include <cstdint>

namespace velapng {

// Continues an Adler-32 checksum (RFC 1950) over n more bytes; start from 1. Same value as
// zlib's adler32, computed sixteen bytes at a time where SSE2 is available.
uint32_t Adler32(uint32_t adler, const uint8_t* data, size_t n);

} // namespace velapng
