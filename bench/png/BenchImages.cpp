#include "BenchImages.h"

#include <cmath>
#include <cstring>
#include <png.h>
#include <random>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void Flush(png_structp)
{
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height, int channels)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendBytes, Flush);
    png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < height; ++y)
        png_write_row(png, pixels.data() + size_t(y) * width * channels);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

uint8_t Clamp(double v)
{
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

} // namespace

TBenchImage MakeAtlas()
{
    constexpr uint32_t size = 2048;
    std::vector<uint8_t> pixels(size_t(size) * size * 4, 0);
    std::mt19937 random(2048);
    // Shelf packing with gaps, stopping once a third of the sheet is covered.
    uint64_t covered = 0;
    uint32_t x = 0, y = 0, shelf = 0;
    while (covered * 3 < uint64_t(size) * size) {
        const uint32_t w = 40 + random() % 200, h = 40 + random() % 200;
        if (x + w > size) {
            x = 0;
            y += shelf + 6;
            shelf = 0;
        }
        if (y + h > size)
            break;
        const double hue = (random() % 360) * 3.14159 / 180;
        const double cx = w / 2.0, cy = h / 2.0;
        for (uint32_t j = 0; j < h; ++j) {
            for (uint32_t i = 0; i < w; ++i) {
                // An ellipse with a one-pixel soft rim, lit from the upper left.
                const double dx = (i - cx) / cx, dy = (j - cy) / cy;
                const double d = std::sqrt(dx * dx + dy * dy);
                const double alpha = std::fmin(1.0, std::fmax(0.0, (1.0 - d) * cx));
                if (alpha <= 0)
                    continue;
                const double light = 0.55 + 0.45 * (1 - d) - 0.2 * (dx + dy);
                const double noise = double(random() % 9) - 4;
                uint8_t* p = pixels.data() + (size_t(y + j) * size + x + i) * 4;
                p[0] = Clamp(light * (128 + 127 * std::cos(hue)) + noise);
                p[1] = Clamp(light * (128 + 127 * std::cos(hue + 2.1)) + noise);
                p[2] = Clamp(light * (128 + 127 * std::cos(hue + 4.2)) + noise);
                p[3] = Clamp(alpha * 255);
                ++covered;
            }
        }
        x += w + 6;
        shelf = h > shelf ? h : shelf;
    }
    return {"atlas 2048x2048 RGBA", Encode(pixels, size, size, 4)};
}

TBenchImage MakeOpaque(const char* name, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    std::mt19937 random(width ^ height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = pixels.data() + (size_t(y) * width + x) * 3;
            const double u = double(x) / width, v = double(y) / height;
            const double wave = 40 * std::sin(u * 9 + v * 4) * std::cos(v * 7);
            const int noise = int(random() % 7) - 3;
            p[0] = Clamp(60 + 150 * u + wave + noise);
            p[1] = Clamp(30 + 120 * v - wave / 2 + noise);
            p[2] = Clamp(140 + 80 * std::sin(u * 5) + noise);
        }
    }
    return {name, Encode(pixels, width, height, 3)};
}

std::vector<uint8_t> ImageData(const std::vector<uint8_t>& png)
{
    std::vector<uint8_t> data;
    size_t pos = 8;
    while (pos + 12 <= png.size()) {
        const uint32_t length = (uint32_t(png[pos]) << 24) | (uint32_t(png[pos + 1]) << 16)
            | (uint32_t(png[pos + 2]) << 8) | uint32_t(png[pos + 3]);
        if (std::memcmp(png.data() + pos + 4, "IDAT", 4) == 0)
            data.insert(data.end(), png.begin() + pos + 8, png.begin() + pos + 8 + length);
        pos += 12 + size_t(length);
    }
    return data;
}
