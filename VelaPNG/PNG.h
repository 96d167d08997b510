#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// Decodes a PNG file held in memory into tightly packed RGBA8 rows, top to bottom.
// Full mode: on success pixels holds width x height x 4 bytes. Header-only mode: only the
// size is read from the image header and no pixel buffer is made. On failure pixels is empty,
// width and height are 0, and the result is false; bad input never throws out of here.
bool DecodePNG(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]>& pixels, int32_t& width, int32_t& height,
               bool headerOnly);

// Receives a decoded image band by band, top to bottom: the band's first row, its number of
// rows, and those rows as tightly packed RGBA8. Returning false stops the decode, which fails.
using TPNGBandSink = std::function<bool(int32_t firstRow, int32_t rowCount, const uint8_t* rows)>;

// Decodes like DecodePNG but hands the image to sink in bands of bandRows rows (at least 2;
// the last band may be shorter), so that only one band is held at a time instead of the whole
// image (interlaced images are still decoded whole first). On failure the result is false,
// width and height are 0, and the bands already handed over are to be thrown away.
bool DecodePNGBands(const uint8_t* data, size_t size, int32_t bandRows, const TPNGBandSink& sink, int32_t& width,
                    int32_t& height);
