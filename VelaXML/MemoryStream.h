#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The byte stream a document is parsed from: the XML reader sits below the
// module player and so keeps this small stream of its own.
class TVelaXMLMemoryStream {
public:
    // Writes bytes at the position, growing the stream as needed; returns the count written.
    size_t Write(const void* data, size_t size);
    // Reads up to size bytes from the position; returns the count read.
    size_t Read(void* data, size_t size);
    // Moves the position; positions beyond the end are kept (reads there return nothing).
    void Seek(size_t position) { position_ = position; }
    // Current position.
    size_t Position() const { return position_; }
    // Number of bytes held.
    size_t Size() const { return bytes_.size(); }
    // The bytes held (Size() of them).
    const uint8_t* Data() const { return bytes_.data(); }

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};
