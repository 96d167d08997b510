#pragma once

#include <cstdint>

// A look at the Vorbis setup headers before the decoder sees them. The decoder
// library accepts some malformed setups (over- and under-full Huffman codes, a
// header that ends early) and then divides by zero while decoding, so every
// setup header is checked against the format first: complete codes, indices in
// range, residue books that carry values, and the closing framing bit.
namespace vss {

// True unless a Vorbis stream in the Ogg image has a setup header that breaks
// the format; images whose headers never complete are left to the decoder,
// which refuses them.
bool VorbisCodebooksAreSound(const uint8_t* Data, int32_t Size);

} // namespace vss
