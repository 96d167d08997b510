#pragma once

// Assembles small PNG files chunk by chunk, so that tests can break exactly one rule at a time.

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

class TPNGBuilder {
public:
    TPNGBuilder() { Bytes = {137, 80, 78, 71, 13, 10, 26, 10}; }

    // Appends a chunk with a correct CRC unless badCrc is set.
    TPNGBuilder& Chunk(const std::string& type, const std::vector<uint8_t>& body, bool badCrc = false)
    {
        Put32(uint32_t(body.size()));
        const size_t typeAt = Bytes.size();
        Bytes.insert(Bytes.end(), type.begin(), type.end());
        Bytes.insert(Bytes.end(), body.begin(), body.end());
        uint32_t crc = uint32_t(crc32(0, Bytes.data() + typeAt, uInt(4 + body.size())));
        Put32(badCrc ? crc ^ 1u : crc);
        return *this;
    }

    TPNGBuilder& Header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace = 0)
    {
        std::vector<uint8_t> body;
        AppendBE32(body, width);
        AppendBE32(body, height);
        body.insert(body.end(), {depth, colourType, 0, 0, interlace});
        return Chunk("IHDR", body);
    }

    // Compresses filtered scanlines (each starting with its filter byte) into one IDAT.
    TPNGBuilder& Data(const std::vector<uint8_t>& scanlines) { return Chunk("IDAT", Zlib(scanlines)); }

    TPNGBuilder& End() { return Chunk("IEND", {}); }

    operator const std::vector<uint8_t>&() const { return Bytes; }

    static void AppendBE32(std::vector<uint8_t>& out, uint32_t v)
    {
        out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    }

    static std::vector<uint8_t> Zlib(const std::vector<uint8_t>& raw)
    {
        uLongf size = compressBound(uLong(raw.size()));
        std::vector<uint8_t> out(size);
        compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
        out.resize(size);
        return out;
    }

    // A raw deflate stream with neither zlib header nor checksum, as CgBI files carry.
    static std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& raw)
    {
        z_stream z{};
        deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        std::vector<uint8_t> out(deflateBound(&z, uLong(raw.size())));
        z.next_in = const_cast<Bytef*>(raw.data());
        z.avail_in = uInt(raw.size());
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        deflate(&z, Z_FINISH);
        out.resize(z.total_out);
        deflateEnd(&z);
        return out;
    }

private:
    void Put32(uint32_t v) { AppendBE32(Bytes, v); }

    std::vector<uint8_t> Bytes;
};
