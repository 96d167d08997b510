#pragma once

// libpng as the independent reference decoder of the tests: it expands every image to RGBA8
// the way our decoder is meant to (palette and low-depth grey widened, tRNS to alpha, grey
// copied into R, G and B, opaque alpha added), with no gamma handling.

#include <cstdint>
#include <cstring>
#include <png.h>
#include <vector>

struct TReferenceImage {
    bool ok = false;
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

namespace reference_detail {

struct TReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

inline void ReadBytes(png_structp png, png_bytep out, png_size_t n)
{
    auto* reader = static_cast<TReader*>(png_get_io_ptr(png));
    if (n > reader->size - reader->pos)
        png_error(png, "read past end");
    std::memcpy(out, reader->data + reader->pos, n);
    reader->pos += n;
}

inline void Silent(png_structp, png_const_charp)
{
}

} // namespace reference_detail

inline TReferenceImage DecodeWithLibpng(const std::vector<uint8_t>& file)
{
    TReferenceImage image;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, reference_detail::Silent);
    png_infop info = png_create_info_struct(png);
    reference_detail::TReader reader{file.data(), file.size(), 0};
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return TReferenceImage{};
    }
    png_set_read_fn(png, &reader, reference_detail::ReadBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    image.rgba.resize(size_t(image.width) * image.height * 4);
    for (uint32_t y = 0; y < image.height; ++y)
        rows.push_back(image.rgba.data() + size_t(y) * image.width * 4);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    image.ok = true;
    return image;
}
