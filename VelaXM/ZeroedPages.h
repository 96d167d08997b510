#pragma once

#include <cstddef>

// A block of zeroed memory mapped straight from the operating system. Its pages
// take no memory until they are first written, so a large table that is mostly
// never used (the note log holds room for 65536 notes, a song logs a few hundred)
// costs only what is written into it.
class TZeroedPages {
public:
    // Maps Bytes zeroed bytes; throws std::bad_alloc when the system refuses.
    explicit TZeroedPages(size_t Bytes);
    ~TZeroedPages();
    TZeroedPages(const TZeroedPages&) = delete;
    TZeroedPages& operator=(const TZeroedPages&) = delete;

    // The first byte of the block.
    void* Data() const { return Block; }

private:
    void* Block = nullptr;
    size_t Size = 0;
};
