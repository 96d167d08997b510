#pragma once

#include <cstdint>
#include <vector>

// The one owned, growable byte stream of the player and the sound system: the
// loader keeps raw chunk payloads in it, and the sound system's Ogg decoders read
// their own copy of a file through it. Reads past the end stop short; seeks and
// writes past the end grow the stream with zero bytes.
class TVelaXMStream {
public:
    virtual ~TVelaXMStream() = default;

    // Frees the block; position, size and capacity become 0.
    virtual void Clear();
    // Copies up to Count bytes from the position into Buffer; returns the bytes copied.
    virtual int32_t Read(void* Buffer, int32_t Count);
    // Seeks to Offset and reads there only if the seek landed exactly on it.
    virtual int32_t ReadAt(int32_t Offset, void* Buffer, int32_t Count);
    // Writes Count bytes at the position, growing the stream; returns Count (0 on bad input).
    virtual int32_t Write(const void* Buffer, int32_t Count);
    // Moves to Offset (negative becomes 0; past the end grows the stream); returns the position.
    virtual int32_t Seek(int32_t Offset);
    // Current read/write position.
    virtual int32_t GetPosition() const { return Position; }
    // Number of bytes held.
    virtual int32_t GetSize() const { return Size; }

    // Reserves n bytes (rounded up to 64 KiB); growth is zero-filled.
    void SetCapacity(int32_t n);
    // Sets the size to n, pulling the position back inside.
    void SetSize(int32_t n);
    // Seeks relative to the position (Origin 1), the end (2) or the start (anything else).
    int32_t SeekFrom(int32_t Offset, int32_t Origin);
    // The bytes held (Size of them are valid).
    const uint8_t* Data() const { return Block.data(); }

    int32_t Position = 0; // read/write position in bytes
    int32_t Size = 0;     // bytes held
    int32_t Capacity = 0; // bytes reserved

private:
    std::vector<uint8_t> Block;
};
