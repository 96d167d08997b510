#pragma once

#include <cstdint>
#include <vector>

#include <vorbis/vorbisfile.h>

// Ogg Vorbis over bytes held in memory: the decoder reads our own copy of the
// file image through callbacks, so nothing touches the file system.
namespace vss {

// A read-only byte stream over an owned copy of a file image.
class TVSSMemoryStream {
public:
    // Copies Size bytes of Data and positions the stream at 0.
    TVSSMemoryStream(const uint8_t* Data, int32_t Size);

    // Copies up to Count bytes into Target; returns the number copied.
    size_t Read(void* Target, size_t Count);
    // Moves to Offset from the start, the position or the end (origin 0, 1,
    // 2); returns the new position, or -1 (and stays put) when outside.
    int64_t Seek(int64_t Offset, int Origin);
    // Current position.
    int64_t Tell() const { return position_; }
    // Number of bytes held.
    int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
};

// The four decoder callbacks (read, seek, close, tell) over a TVSSMemoryStream.
ov_callbacks MemoryStreamCallbacks();

// Decoder results that end a read loop the same way as the end of the data.
inline bool IsEndOfDecoding(long Result) { return Result == 0 || Result == OV_EBADLINK || Result == OV_EINVAL; }

// Folds Frames frames of Channels interleaved 16-bit values into stereo int32
// frames (left, right), mixing the surround channels into the two sides.
void FoldToStereo(const int16_t* Raw, int32_t Channels, int32_t Frames, int32_t* Stereo);

} // namespace vss
