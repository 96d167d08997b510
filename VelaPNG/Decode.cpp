#include "VelaPNG/PNG.h"

#include "VelaPNG/Convert.h"
#include "VelaPNG/Inflate.h"
#include "VelaPNG/PNGInfo.h"
#include "VelaPNG/Unfilter.h"

#include <algorithm>
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

    // Decodes into one image buffer (out), or, with a sink, into a band of bandRows rows
    // handed to the sink whenever it is full. Interlaced passes cover the whole image, so
    // those images are decoded whole and then handed over band by band.
    bool Decode(std::unique_ptr<uint8_t[]>& out, uint32_t bandRows = 0, const TPNGBandSink* sink = nullptr)
    {
        if (TotalBytes > uint64_t(Info.idatSize) * kMaxInflateRatio + kMaxInflateRatio)
            return false;
        if (!Stream.Open(Info, TotalBytes, MaxRowBytes + 1))
            return false;
        OutStride = size_t(Info.width) * 4;
        // Two rows at least: a direct row is unfiltered against the row before it.
        BandRows = sink != nullptr && Info.interlace == 0 ? std::max(2u, std::min(bandRows, Info.height)) : 0;
        Sink = sink;
        std::unique_ptr<uint8_t[]> image(new uint8_t[OutStride * (BandRows != 0 ? BandRows : Info.height)]);
        Output = image.get();
        Rows[0].reset(new uint8_t[MaxRowBytes]);
        Rows[1].reset(new uint8_t[MaxRowBytes]);
        Convert = SelectConverter(Info, Tables);
        // An 8-bit RGBA image needs no conversion: its rows are unfiltered straight into the output.
        const bool direct = Info.colourType == kRGBA && Info.interlace == 0 && !Info.cgbi;
        for (unsigned p = 0; p < PassCount; ++p) {
            if (Passes[p].width == 0 || Passes[p].height == 0)
                continue;
            if (!(direct ? DecodeDirect(Passes[p]) : DecodePass(Passes[p])))
                return false;
        }
        if (!Stream.Finish())
            return false;
        if (BandRows != 0)
            return true;
        if (Info.cgbi)
            FixCgBIPixels(image.get(), size_t(Info.width) * Info.height);
        for (uint32_t y = 0; sink != nullptr && y < Info.height; y += bandRows) {
            const uint32_t count = std::min(bandRows, Info.height - y);
            if (!(*sink)(int32_t(y), int32_t(count), image.get() + y * OutStride))
                return false;
        }
        if (sink == nullptr)
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

    // Where image row y goes: its place in the image, or in the band.
    uint8_t* OutputRow(uint32_t y) const { return Output + size_t(BandRows != 0 ? y % BandRows : y) * OutStride; }

    // Hands the band over once row y completes it; false when the sink wants no more.
    bool RowDone(uint32_t y)
    {
        if (BandRows == 0 || ((y + 1) % BandRows != 0 && y + 1 != Info.height))
            return true;
        const uint32_t first = y - y % BandRows;
        const uint32_t count = y + 1 - first;
        if (Info.cgbi)
            FixCgBIPixels(Output, size_t(Info.width) * count);
        return (*Sink)(int32_t(first), int32_t(count), Output);
    }

    // Rows land in the two alternating row buffers and are converted into place in the output.
    bool DecodePass(const TPass& pass)
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
            const uint32_t y = pass.y0 + r * pass.dy;
            Convert(cur, OutputRow(y) + size_t(pass.x0) * 4, pass.width, dstStep, Tables);
            if (!RowDone(y))
                return false;
            std::swap(prev, cur);
        }
        return true;
    }

    bool DecodeDirect(const TPass& pass)
    {
        const uint8_t* prev = Rows[1].get();
        std::memset(Rows[1].get(), 0, pass.rowBytes);
        for (uint32_t r = 0; r < pass.height; ++r) {
            const uint8_t* filtered = Stream.NextRow(pass.rowBytes + 1);
            if (!filtered)
                return false;
            uint8_t* dst = OutputRow(r);
            SelectUnfilter(filtered[0], BytesPerPixel)(filtered + 1, prev, dst, pass.rowBytes);
            if (!RowDone(r))
                return false;
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
    uint8_t* Output = nullptr;          // the image, or the band
    uint32_t BandRows = 0;              // rows per band; 0 when decoding the whole image
    const TPNGBandSink* Sink = nullptr; // receives the bands
    TScanlineStream Stream;
    std::unique_ptr<uint8_t[]> Rows[2];
    TConvertTables Tables = {};
    TRowConverter Convert = nullptr;
};

} // namespace

} // namespace velapng

bool DecodePNGBands(const uint8_t* data, size_t size, int32_t bandRows, const TPNGBandSink& sink, int32_t& width,
                    int32_t& height)
{
    width = 0;
    height = 0;
    if (!data || bandRows < 1)
        return false;
    try {
        velapng::TPNGInfo info;
        if (!velapng::ReadChunks(data, size, false, info))
            return false;
        width = int32_t(info.width);
        height = int32_t(info.height);
        std::unique_ptr<uint8_t[]> unused;
        velapng::TImageDecoder decoder(info);
        if (decoder.Decode(unused, uint32_t(bandRows), &sink))
            return true;
    } catch (const std::exception&) {
    }
    width = 0;
    height = 0;
    return false;
}

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
