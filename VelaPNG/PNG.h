#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Decodes a PNG file held in memory into tightly packed RGBA8 rows, top to bottom.
// Full mode: on success pixels holds width x height x 4 bytes. Header-only mode: only the
// size is read from the image header and no pixel buffer is made. On failure pixels is empty,
// width and height are 0, and the result is false; bad input never throws out of here.
bool DecodePNG(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]>& pixels, int32_t& width, int32_t& height,
               bool headerOnly);
