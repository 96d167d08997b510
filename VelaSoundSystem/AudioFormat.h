#pragma once

#include <cstdint>

namespace vss {

// The game's one output format: 44100 Hz, signed 16-bit little-endian stereo,
// mixed and handed to the device in blocks of 1024 frames (4096 bytes).
struct TAudioFormat {
    static constexpr int32_t Rate = 44100;
    static constexpr int32_t Channels = 2;
    static constexpr int32_t Bits = 16;
    static constexpr int32_t BlockFrames = 1024;
    static constexpr int32_t BlockBytes = BlockFrames * Channels * Bits / 8;
};

} // namespace vss
