#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The largest file taken as a module. The format allows samples of up to 4 GiB,
// but real modules stay within a few megabytes and the largest known ones
// within tens; anything bigger is not a module, and /dev/zero or a pipe that
// never ends is refused after reading this much instead of filling memory.
inline constexpr uint64_t kMaxModuleBytes = uint64_t(128) << 20;

// Reads a whole file of at most maxBytes. On failure returns false with the
// reason in error ("is a folder", "is larger than ...", the system's message).
bool ReadInputFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);

// Whether two paths name the same existing file (through links or another spelling).
bool IsSameFile(const std::string& a, const std::string& b);
