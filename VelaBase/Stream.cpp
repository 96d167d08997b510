#include "VelaBase/Stream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int64_t kCapacityGranule = 65536;
} // namespace

void TVelaXMStream::Clear()
{
    Block.clear();
    Block.shrink_to_fit();
    Position = 0;
    Size = 0;
    Capacity = 0;
}

int32_t TVelaXMStream::Read(void* Buffer, int32_t Count)
{
    if (Position < 0 || Count <= 0 || Position >= Size)
        return 0;
    const int32_t n = std::min(Count, Size - Position);
    std::memcpy(Buffer, Block.data() + Position, static_cast<size_t>(n));
    Position += n;
    return n;
}

int32_t TVelaXMStream::ReadAt(int32_t Offset, void* Buffer, int32_t Count)
{
    if (Seek(Offset) != Offset)
        return 0;
    return Read(Buffer, Count);
}

int32_t TVelaXMStream::Write(const void* Buffer, int32_t Count)
{
    if (Position < 0 || Count <= 0)
        return 0;
    const int64_t end = static_cast<int64_t>(Position) + Count;
    if (end > INT32_MAX)
        return 0;
    if (end > Size)
        SetSize(static_cast<int32_t>(end));
    std::memcpy(Block.data() + Position, Buffer, static_cast<size_t>(Count));
    Position += Count;
    return Count;
}

int32_t TVelaXMStream::Seek(int32_t Offset)
{
    if (Offset < 0)
        Offset = 0;
    if (Offset > Size) {
        const int32_t keep = Position;
        SetSize(Offset);
        Position = keep;
    }
    Position = Offset;
    return Position;
}

void TVelaXMStream::SetCapacity(int32_t n)
{
    int64_t rounded = 0;
    if (n > 0)
        rounded = (static_cast<int64_t>(n) + kCapacityGranule - 1) / kCapacityGranule * kCapacityGranule;
    rounded = std::min<int64_t>(rounded, INT32_MAX);
    // resize() value-initialises new bytes, which gives the zero fill.
    Block.resize(static_cast<size_t>(rounded));
    Capacity = static_cast<int32_t>(rounded);
    Size = std::min(Size, Capacity);
}

void TVelaXMStream::SetSize(int32_t n)
{
    n = std::max(n, 0);
    if (n > Capacity)
        SetCapacity(n);
    if (n > Size)
        std::memset(Block.data() + Size, 0, static_cast<size_t>(n - Size));
    Size = n;
    Position = std::min(Position, Size);
}

int32_t TVelaXMStream::SeekFrom(int32_t Offset, int32_t Origin)
{
    int64_t base = 0;
    if (Origin == 1)
        base = Position;
    else if (Origin == 2)
        base = Size;
    const int64_t target = std::clamp<int64_t>(base + Offset, INT32_MIN, INT32_MAX);
    return Seek(static_cast<int32_t>(target));
}
