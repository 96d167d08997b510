// Full decodes of atlas-sized and screen-sized PNGs: our decoder against libpng and libspng
// on the same bytes, plus zlib's inflate alone as the floor for any decoder built on it.

#include "BenchImages.h"
#include "VelaPNG/PNG.h"

#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <png.h>
#include <spng.h>
#include <zlib.h>

namespace {

const TBenchImage& Image(int index)
{
    static const TBenchImage images[3]
        = {MakeAtlas(), MakeOpaque("opaque 2048x2048 RGB", 2048, 2048), MakeOpaque("screen 800x480 RGB", 800, 480)};
    return images[index];
}

void DecodeVela(benchmark::State& state)
{
    const TBenchImage& image = Image(int(state.range(0)));
    state.SetLabel(image.name);
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> pixels;
        int32_t width = 0, height = 0;
        if (!DecodePNG(image.png.data(), image.png.size(), pixels, width, height, false))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.get());
    }
}

struct TMemoryReader {
    const uint8_t* data;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n)
{
    auto* reader = static_cast<TMemoryReader*>(png_get_io_ptr(png));
    std::memcpy(out, reader->data + reader->pos, n);
    reader->pos += n;
}

// libpng's usual read, expanded to the same RGBA8 our decoder produces.
void DecodeLibpng(benchmark::State& state)
{
    const TBenchImage& image = Image(int(state.range(0)));
    state.SetLabel(image.name);
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        TMemoryReader reader{image.png.data(), 0};
        if (setjmp(png_jmpbuf(png))) {
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, &reader, ReadFromMemory);
        png_read_info(png, info);
        png_set_expand(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
        png_read_update_info(png, info);
        const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
        std::unique_ptr<uint8_t[]> pixels(new uint8_t[size_t(width) * height * 4]);
        for (uint32_t y = 0; y < height; ++y)
            png_read_row(png, pixels.get() + size_t(y) * width * 4, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void DecodeSpng(benchmark::State& state)
{
    const TBenchImage& image = Image(int(state.range(0)));
    state.SetLabel(image.name);
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, image.png.data(), image.png.size());
        size_t size = 0;
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
        std::unique_ptr<uint8_t[]> pixels(new uint8_t[size]);
        if (spng_decode_image(ctx, pixels.get(), size, SPNG_FMT_RGBA8, 0) != 0)
            state.SkipWithError("spng failed");
        spng_ctx_free(ctx);
        benchmark::DoNotOptimize(pixels.get());
    }
}

// zlib alone: the image data inflated into one buffer, checksum included.
void InflateOnly(benchmark::State& state)
{
    const TBenchImage& image = Image(int(state.range(0)));
    state.SetLabel(image.name);
    const std::vector<uint8_t> data = ImageData(image.png);
    uLongf rawSize = 64u << 20;
    std::unique_ptr<uint8_t[]> probe(new uint8_t[rawSize]);
    uncompress(probe.get(), &rawSize, data.data(), uLong(data.size()));
    for (auto _ : state) {
        uLongf size = rawSize;
        std::unique_ptr<uint8_t[]> raw(new uint8_t[size]);
        if (uncompress(raw.get(), &size, data.data(), uLong(data.size())) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(raw.get());
    }
}

} // namespace

BENCHMARK(DecodeVela)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeLibpng)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeSpng)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(InflateOnly)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
