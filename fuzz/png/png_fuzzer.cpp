// Feeds arbitrary bytes to the PNG decoder in header-only and full mode.

#include "VelaPNG/PNG.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<uint8_t[]> pixels;
    int32_t width = 0, height = 0;
    const bool header = DecodePNG(data, size, pixels, width, height, true);
    if (pixels)
        std::abort();
    if (DecodePNG(data, size, pixels, width, height, false)) {
        // A full decode implies a readable header; touching the buffer checks its size.
        if (!header || !pixels || width < 1 || height < 1)
            std::abort();
        volatile uint8_t sink = 0;
        const size_t bytes = size_t(width) * size_t(height) * 4;
        for (size_t i = 0; i < bytes; i += 4093)
            sink = sink + pixels[i];
        sink = sink + pixels[bytes - 1];
    } else if (pixels) {
        std::abort();
    }
    return 0;
}
