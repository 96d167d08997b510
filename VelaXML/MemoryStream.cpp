#include "VelaXML/MemoryStream.h"

#include <algorithm>
#include <cstring>

size_t TVelaXMLMemoryStream::Write(const void* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    if (position_ + size > bytes_.size()) {
        bytes_.resize(position_ + size);
    }
    std::memcpy(bytes_.data() + position_, data, size);
    position_ += size;
    return size;
}

size_t TVelaXMLMemoryStream::Read(void* data, size_t size)
{
    if (position_ >= bytes_.size()) {
        return 0;
    }
    const size_t count = std::min(size, bytes_.size() - position_);
    std::memcpy(data, bytes_.data() + position_, count);
    position_ += count;
    return count;
}
