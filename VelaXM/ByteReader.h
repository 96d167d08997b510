#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

// A read-only view of the caller's module image, so loading copies nothing:
// reads past the end copy what is there and zero the rest, so truncated pattern
// and sample data decode as zeros; the position may point anywhere, even past the end.
class TVelaXMByteReader {
public:
    TVelaXMByteReader(const uint8_t* data, uint32_t size) : data_(data), size_(size) {}

    // Copies up to n bytes at the position, zero-fills the rest; returns the bytes copied.
    uint32_t Read(void* destination, uint32_t n)
    {
        const uint32_t copied = static_cast<uint32_t>(std::min<int64_t>(n, Remaining()));
        if (copied > 0)
            std::memcpy(destination, data_ + position_, copied);
        std::memset(static_cast<uint8_t*>(destination) + copied, 0, n - copied);
        position_ += copied;
        return copied;
    }
    // Reads a fixed-size block; false when the image ends before it does.
    bool ReadExact(void* destination, uint32_t n) { return Read(destination, n) == n; }
    // One byte of pattern or sample data; 0 past the end.
    uint8_t Byte()
    {
        if (position_ < 0 || position_ >= size_) {
            ++position_;
            return 0;
        }
        return data_[position_++];
    }
    // Bytes left from the position to the end (0 when past it).
    int64_t Remaining() const { return position_ < 0 || position_ >= size_ ? 0 : size_ - position_; }
    int64_t Position() const { return position_; }
    // Moves anywhere at or after 0.
    void Seek(int64_t position) { position_ = std::max<int64_t>(position, 0); }
    uint32_t Size() const { return size_; }
    // The byte at an absolute offset, 0 outside the image.
    uint8_t At(int64_t offset) const { return offset >= 0 && offset < size_ ? data_[offset] : 0; }

private:
    const uint8_t* data_;
    int64_t size_;
    int64_t position_ = 0;
};

// Little- and big-endian fields of a header block read into memory.
inline uint32_t readLE16(const uint8_t* p) { return p[0] | (p[1] << 8); }
inline uint32_t readLE32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t readBE16(const uint8_t* p) { return (p[0] << 8) | p[1]; }

// A fixed-width name with every byte below 33 trimmed off both ends.
inline std::string trimmedName(const uint8_t* p, size_t width)
{
    size_t begin = 0;
    size_t end = width;
    while (begin < end && p[begin] < 33)
        ++begin;
    while (end > begin && p[end - 1] < 33)
        --end;
    return std::string(reinterpret_cast<const char*>(p + begin), end - begin);
}
