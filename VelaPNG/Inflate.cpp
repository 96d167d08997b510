#include "VelaPNG/Inflate.h"

#include "VelaPNG/Adler32.h"

#include <algorithm>
#include <cstring>

namespace velapng {

namespace {

constexpr size_t kBlockTarget = 256 * 1024;

// Byte index i of the concatenated spans (the caller makes sure it exists).
uint8_t ByteAt(const std::vector<TDataSpan>& spans, size_t i)
{
    for (const TDataSpan& span : spans) {
        if (i < span.size)
            return span.data[i];
        i -= span.size;
    }
    return 0;
}

bool ZlibHeaderValid(const TPNGInfo& info)
{
    if (info.idatSize < 6)
        return false;
    const uint8_t cmf = ByteAt(info.idat, 0);
    const uint8_t flg = ByteAt(info.idat, 1);
    return (cmf * 256u + flg) % 31 == 0 && (cmf & 0x0f) == 8 && (cmf & 0x80) == 0 && (flg & 0x20) == 0;
}

} // namespace

TScanlineStream::~TScanlineStream()
{
    if (ZlibOpen)
        inflateEnd(&Zlib);
}

bool TScanlineStream::Open(const TPNGInfo& info, size_t totalBytes, size_t maxRowBytes)
{
    Info = &info;
    if (!info.cgbi && !ZlibHeaderValid(info))
        return false;
    // zlib counts its input in 32 bits; no sane image comes near 4 GiB of compressed data.
    if (info.idatSize > UINT32_MAX)
        return false;
    GatherData(info);
    if (inflateInit2(&Zlib, info.cgbi ? -15 : 15) != Z_OK)
        return false;
    ZlibOpen = true;
    // zlib's own check is byte by byte; ours runs over each block as it is inflated, and is
    // compared with the last four bytes of the data when the stream ends.
    if (!info.cgbi && inflateValidate(&Zlib, 0) != Z_OK)
        return false;
    Remaining = totalBytes;
    BlockSize = std::min(totalBytes, std::max(kBlockTarget, 2 * maxRowBytes));
    Block.reset(new uint8_t[BlockSize]);
    return true;
}

void TScanlineStream::GatherData(const TPNGInfo& info)
{
    // Encoders split the stream into chunks of a few KiB. Fed to zlib one by one, every chunk
    // ends an inflate call, and each call copies up to 32 KiB of output into zlib's window;
    // one contiguous copy of the compressed bytes is far cheaper than that.
    if (info.idat.size() == 1) {
        Spans = info.idat;
        return;
    }
    Gathered.reset(new uint8_t[info.idatSize]);
    size_t at = 0;
    for (const TDataSpan& span : info.idat) {
        std::memcpy(Gathered.get() + at, span.data, span.size);
        at += span.size;
    }
    Spans.assign(1, TDataSpan{Gathered.get(), info.idatSize});
}

bool TScanlineStream::Inflate(uint8_t* out, size_t size, size_t& produced)
{
    Zlib.next_out = out;
    Zlib.avail_out = uInt(size);
    while (Zlib.avail_out > 0 && !Ended) {
        if (Zlib.avail_in == 0) {
            if (NextSpan == Spans.size())
                break;
            const TDataSpan& span = Spans[NextSpan++];
            Zlib.next_in = const_cast<Bytef*>(span.data);
            Zlib.avail_in = uInt(span.size);
            continue;
        }
        const int status = inflate(&Zlib, Z_NO_FLUSH);
        if (status == Z_STREAM_END)
            Ended = true;
        else if (status != Z_OK)
            return false;
    }
    produced = size - Zlib.avail_out;
    Checksum = Adler32(Checksum, out, produced);
    return true;
}

bool TScanlineStream::Fill(size_t wanted)
{
    // Keep the unread tail of the block; it is at most part of one row.
    const size_t tail = Filled - Pos;
    std::memmove(Block.get(), Block.get() + Pos, tail);
    Pos = 0;
    Filled = tail;
    const size_t room = std::min(BlockSize - tail, Remaining);
    size_t produced = 0;
    if (!Inflate(Block.get() + Filled, room, produced))
        return false;
    Filled += produced;
    Remaining -= produced;
    return Filled >= wanted;
}

const uint8_t* TScanlineStream::NextRow(size_t rowBytes)
{
    if (Filled - Pos < rowBytes && !Fill(rowBytes))
        return nullptr;
    const uint8_t* row = Block.get() + Pos;
    Pos += rowBytes;
    return row;
}

bool TScanlineStream::Finish()
{
    // Data past the image is inflated and dropped, so the checksum covers every byte as it must.
    while (!Ended) {
        size_t produced = 0;
        if (!Inflate(Block.get(), BlockSize, produced))
            return false;
        if (!Ended && produced == 0)
            return false; // the data ran out before the stream's end
    }
    if (Info->cgbi)
        return true;
    const size_t n = Info->idatSize;
    const uint32_t trailer = (uint32_t(ByteAt(Spans, n - 4)) << 24) | (uint32_t(ByteAt(Spans, n - 3)) << 16) |
                             (uint32_t(ByteAt(Spans, n - 2)) << 8) | uint32_t(ByteAt(Spans, n - 1));
    return trailer == Checksum;
}

} // namespace velapng
