#include "VelaSoundSystem/OggMemory.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace vss {

void CopyIntoStream(TVelaXMStream& Stream, const uint8_t* Data, int32_t Size)
{
    Stream.Write(Data, Size);
    Stream.Seek(0);
}

namespace {

size_t readCallback(void* Target, size_t Size, size_t Count, void* Source)
{
    if (Size == 0 || Count > SIZE_MAX / Size) {
        return 0;
    }
    // The decoder counts whole items of Size bytes.
    const int32_t wanted = static_cast<int32_t>(std::min<size_t>(Size * Count, INT32_MAX));
    return static_cast<size_t>(static_cast<TVelaXMStream*>(Source)->Read(Target, wanted)) / Size;
}

int seekCallback(void* Source, ogg_int64_t Offset, int Origin)
{
    auto* stream = static_cast<TVelaXMStream*>(Source);
    const int64_t size = stream->GetSize();
    int64_t base = 0;
    if (Origin == SEEK_CUR) {
        base = stream->GetPosition();
    } else if (Origin == SEEK_END) {
        base = size;
    } else if (Origin != SEEK_SET) {
        return -1;
    }
    // Offsets near the int64 limits come only from corrupt data; refuse them
    // before the addition can overflow. The stream itself would grow on a seek
    // past its end, which a file never does.
    if (Offset > size || Offset < -size) {
        return -1;
    }
    const int64_t target = base + Offset;
    if (target < 0 || target > size) {
        return -1;
    }
    stream->Seek(static_cast<int32_t>(target));
    return 0;
}

int closeCallback(void*) { return 0; }

long tellCallback(void* Source) { return static_cast<TVelaXMStream*>(Source)->GetPosition(); }

} // namespace

ov_callbacks MemoryStreamCallbacks()
{
    ov_callbacks callbacks;
    callbacks.read_func = readCallback;
    callbacks.seek_func = seekCallback;
    callbacks.close_func = closeCallback;
    callbacks.tell_func = tellCallback;
    return callbacks;
}

void FoldToStereo(const int16_t* Raw, int32_t Channels, int32_t Frames, int32_t* Stereo)
{
    // One loop per channel layout: the layout is fixed for the whole batch.
    const int32_t c = Channels;
    switch (c) {
    case 1:
        for (int32_t i = 0; i < Frames; ++i) {
            Stereo[2 * i] = Stereo[2 * i + 1] = Raw[i];
        }
        break;
    case 3:
        for (int32_t i = 0; i < Frames; ++i) {
            const int16_t* f = Raw + 3 * i;
            Stereo[2 * i] = (f[0] + f[1]) >> 1;
            Stereo[2 * i + 1] = (f[2] + f[1]) >> 1;
        }
        break;
    case 4:
        for (int32_t i = 0; i < Frames; ++i) {
            const int16_t* f = Raw + 4 * i;
            Stereo[2 * i] = (f[0] + f[2]) >> 1;
            Stereo[2 * i + 1] = (f[1] + f[3]) >> 1;
        }
        break;
    case 5:
        // Vorbis order: front left, centre, front right, rear left, rear right.
        for (int32_t i = 0; i < Frames; ++i) {
            const int16_t* f = Raw + 5 * i;
            Stereo[2 * i] = (f[0] + f[1] + f[3]) / 3;
            Stereo[2 * i + 1] = (f[2] + f[1] + f[4]) / 3;
        }
        break;
    case 6:
        // 5.1: the centre (ch1) and the low-frequency channel (ch5) feed both sides.
        for (int32_t i = 0; i < Frames; ++i) {
            const int16_t* f = Raw + 6 * i;
            Stereo[2 * i] = (f[0] + f[1] + f[3] + f[5]) >> 2;
            Stereo[2 * i + 1] = (f[2] + f[1] + f[4] + f[5]) >> 2;
        }
        break;
    default:
        // Stereo, and layouts of 7 or more channels, keep the first two.
        for (int32_t i = 0; i < Frames; ++i) {
            Stereo[2 * i] = Raw[c * i];
            Stereo[2 * i + 1] = Raw[c * i + 1];
        }
        break;
    }
}

} // namespace vss
