#pragma once

#include <cstdint>

// A look at the Vorbis setup headers before the decoder sees them. The decoder
// library accepts some malformed setups (over- and under-full Huffman codes, a
// header that ends early) and then divides by zero while decoding, so every
// setup header is checked against the format first: complete codes, indices in
// range, residue books that carry values, and the closing framing bit.
namespace vss {

// True unless a logical stream in the Ogg image is not Vorbis, has headers
// that break the format, or has headers this check cannot follow to their end
// the way the decoder would (cut short, a gap in their pages, a stream that
// starts again in the middle of them, or a first page that never completes a
// packet). Data that holds no Ogg page is left to the decoder, which refuses it.
bool VorbisCodebooksAreSound(const uint8_t* Data, int32_t Size);

} // namespace vss
