#pragma once

#include <cstdint>

#include <vorbis/vorbisfile.h>

#include "VelaBase/Stream.h"

// Ogg Vorbis over bytes held in memory: the decoder reads our own copy of the
// file image through callbacks, so nothing touches the file system.
namespace vss {

// Copies Size bytes of Data into Stream and positions it at 0.
void CopyIntoStream(TVelaXMStream& Stream, const uint8_t* Data, int32_t Size);

// The four decoder callbacks (read, seek, close, tell) over a TVelaXMStream. A
// seek outside the data fails and stays put, as the decoder expects of a file.
ov_callbacks MemoryStreamCallbacks();

// Decoder results that end a read loop the same way as the end of the data.
inline bool IsEndOfDecoding(long Result) { return Result == 0 || Result == OV_EBADLINK || Result == OV_EINVAL; }

// Folds Frames frames of Channels interleaved 16-bit values into stereo int32
// frames (left, right), mixing the surround channels into the two sides.
void FoldToStereo(const int16_t* Raw, int32_t Channels, int32_t Frames, int32_t* Stereo);

} // namespace vss
