#include "PcmWriter.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>

namespace {

void put16(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

} // namespace

PcmWriter::~PcmWriter()
{
    if (file_ != nullptr)
        Close();
}

bool PcmWriter::Open(const std::string& path, int32_t sampleRate, int32_t channels, bool wavHeader)
{
    wavHeader_ = wavHeader;
    file_ = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
    // Only an output that starts here and is not appended to can take the header back.
    seekable_ = file_ != nullptr && std::ftell(file_) == 0 && (fcntl(fileno(file_), F_GETFL) & O_APPEND) == 0;
    sampleRate_ = sampleRate;
    channels_ = channels;
    dataBytes_ = 0;
    ok_ = file_ != nullptr;
    return ok_ && (!wavHeader_ || writeHeader());
}

bool PcmWriter::writeHeader()
{
    uint8_t h[44];
    const uint64_t known = seekable_ ? dataBytes_ : 0xFFFFFFFFu;
    const uint32_t data = static_cast<uint32_t>(std::min<uint64_t>(known, 0xFFFFFFFFu - 36));
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + data);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, static_cast<uint32_t>(channels_));
    put32(h + 24, static_cast<uint32_t>(sampleRate_));
    put32(h + 28, static_cast<uint32_t>(sampleRate_ * channels_ * 2));
    put16(h + 32, static_cast<uint32_t>(channels_ * 2));
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, data);
    const bool rewind = dataBytes_ == 0 || (seekable_ && std::fseek(file_, 0, SEEK_SET) == 0);
    ok_ = ok_ && rewind && std::fwrite(h, 1, sizeof h, file_) == sizeof h;
    return ok_;
}

bool PcmWriter::Write(const int16_t* values, size_t count)
{
    uint8_t buffer[4096];
    size_t done = 0;
    while (ok_ && done < count) {
        const size_t n = std::min(count - done, sizeof buffer / 2);
        for (size_t i = 0; i < n; ++i)
            put16(buffer + 2 * i, static_cast<uint16_t>(values[done + i]));
        ok_ = std::fwrite(buffer, 2, n, file_) == n;
        done += n;
        dataBytes_ += 2 * n;
    }
    return ok_;
}

bool PcmWriter::Close()
{
    if (file_ == nullptr)
        return false;
    if (seekable_ && wavHeader_)
        writeHeader();
    ok_ = (file_ == stdout ? std::fflush(file_) : std::fclose(file_)) == 0 && ok_;
    file_ = nullptr;
    return ok_;
}
