#include "VelaPNG/PNG.h"

#include "VelaPNG/Convert.h"
#include "VelaPNG/Inflate.h"
#include "VelaPNG/PNGInfo.h"
#include "VelaPNG/Unfilter.h"

#include <cstring>
#include <new>

namespace velapng {

namespace {

// One Adam7 pass (or the whole image when not interlaced): where its pixels land.
struct TPass {
    uint32_t x0, y0, dx, dy;
    uint32_t width, height;
    size_t rowBytes; // packed samples, without the filter byte
};

constexpr uint32_t kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                   {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

// Deflate cannot expand its input by more than 1032 to 1 (a 258-byte match in two bits), so
// image data that needs more than that is refused before the output is allocated.
constexpr uint64_t kMaxInflateRatio = 1032;

class TImageDecoder {
public:
    explicit TImageDecoder(const TPNGInfo& info) : Info(info)
    {
        BitsPerPixel = ChannelCount(info.colourType) * info.bitDepth;
        BytesPerPixel = BitsPerPixel < 8 ? 1 : BitsPerPixel / 8;
        PlanPasses();
    }

    bool Decode(std::unique_ptr<uint8_t[]>& out)
    {
        if (TotalBytes > uint64_t(Info.idatSize) * kMaxInflateRatio + kMaxInflateRatio)
            return false;
        if (!Stream.Open(Info, TotalBytes, MaxRowBytes + 1))
            return false;
        OutStride = size_t(Info.width) * 4;
        std::unique_ptr<uint8_t[]> image(new uint8_t[OutStride * Info.height]);
        Rows[0].reset(new uint8_t[MaxRowBytes]);
        Rows[1].reset(new uint8_t[MaxRowBytes]);
        Convert = SelectConverter(Info, Tables);
        // An 8-bit RGBA image needs no conversion: its rows are unfiltered straight into the output.
        const bool direct = Info.colourType == kRGBA && Info.interlace == 0 && !Info.cgbi;
        for (unsigned p = 0; p < PassCount; ++p) {
            if (Passes[p].width == 0 || Passes[p].height == 0)
                continue;
            if (!(direct ? DecodeDirect(Passes[p], image.get()) : DecodePass(Passes[p], image.get())))
                return false;
        }
        if (!Stream.Finish())
            return false;
        if (Info.cgbi)
            FixCgBIPixels(image.get(), size_t(Info.width) * Info.height);
        out = std::move(image);
        return true;
    }

private:
    void PlanPasses()
    {
        PassCount = Info.interlace ? 7 : 1;
        for (unsigned p = 0; p < PassCount; ++p) {
            TPass& pass = Passes[p];
            if (Info.interlace) {
                pass.x0 = kAdam7[p][0];
                pass.y0 = kAdam7[p][1];
                pass.dx = kAdam7[p][2];
                pass.dy = kAdam7[p][3];
            } else {
                pass.x0 = pass.y0 = 0;
                pass.dx = pass.dy = 1;
            }
            pass.width = Info.width > pass.x0 ? (Info.width - pass.x0 + pass.dx - 1) / pass.dx : 0;
            pass.height = Info.height > pass.y0 ? (Info.height - pass.y0 + pass.dy - 1) / pass.dy : 0;
            pass.rowBytes = (uint64_t(pass.width) * BitsPerPixel + 7) / 8;
            if (pass.width == 0 || pass.height == 0)
                continue;
            TotalBytes += uint64_t(pass.height) * (pass.rowBytes + 1);
            if (pass.rowBytes > MaxRowBytes)
                MaxRowBytes = pass.rowBytes;
        }
    }

    // Rows land in the two alternating row buffers and are converted into place in the image.
    bool DecodePass(const TPass& pass, uint8_t* image)
    {
        uint8_t* prev = Rows[1].get();
        uint8_t* cur = Rows[0].get();
        std::memset(prev, 0, pass.rowBytes);
        const size_t dstStep = size_t(pass.dx) * 4;
        for (uint32_t r = 0; r < pass.height; ++r) {
            const uint8_t* filtered = Stream.NextRow(pass.rowBytes + 1);
            if (!filtered)
                return false;
            SelectUnfilter(filtered[0], BytesPerPixel)(filtered + 1, prev, cur, pass.rowBytes);
            uint8_t* dst = image + (size_t(pass.y0) + size_t(r) * pass.dy) * OutStride + size_t(pass.x0) * 4;
            Convert(cur, dst, pass.width, dstStep, Tables);
            std::swap(prev, cur);
        }
        return true;
    }

    bool DecodeDirect(const TPass& pass, uint8_t* image)
    {
        const uint8_t* prev = Rows[1].get();
        std::memset(Rows[1].get(), 0, pass.rowBytes);
        for (uint32_t r = 0; r < pass.height; ++r) {
            const uint8_t* filtered = Stream.NextRow(pass.rowBytes + 1);
            if (!filtered)
                return false;
            uint8_t* dst = image + size_t(r) * OutStride;
            SelectUnfilter(filtered[0], BytesPerPixel)(filtered + 1, prev, dst, pass.rowBytes);
            prev = dst;
        }
        return true;
    }

    const TPNGInfo& Info;
    unsigned BitsPerPixel = 0;
    unsigned BytesPerPixel = 0;
    unsigned PassCount = 0;
    TPass Passes[7] = {};
    uint64_t TotalBytes = 0;
    size_t MaxRowBytes = 0;
    size_t OutStride = 0;
    TScanlineStream Stream;
    std::unique_ptr<uint8_t[]> Rows[2];
    TConvertTables Tables = {};
    TRowConverter Convert = nullptr;
};

} // namespace

} // namespace velapng

bool DecodePNG(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]>& pixels, int32_t& width, int32_t& height,
               bool headerOnly)
{
    pixels.reset();
    width = 0;
    height = 0;
    if (!data)
        return false;
    try {
        velapng::TPNGInfo info;
        if (!velapng::ReadChunks(data, size, headerOnly, info))
            return false;
        if (!headerOnly) {
            velapng::TImageDecoder decoder(info);
            if (!decoder.Decode(pixels))
                return false;
        }
        width = int32_t(info.width);
        height = int32_t(info.height);
        return true;
    } catch (const std::exception&) {
        pixels.reset();
        return false;
    }
}
