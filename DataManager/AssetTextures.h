#pragma once

#include <cstdint>
#include <vector>

class TTexture;

// A PNG texture over a copy of bytes (linear, clamped), or null when the
// header cannot be read.
TTexture* MakePNGTexture(const std::vector<uint8_t>& bytes);
// The 16 x 16 stand-in for a missing or unreadable picture.
TTexture* MakeEmptyTexture();
