#pragma once

#include <cstdint>

// A look at the Vorbis setup headers before the decoder sees them: every
// codebook's Huffman lengths must describe a complete code. The decoder library
// accepts over- and under-full codes and then divides by zero while decoding,
// so streams with such books are refused at load time instead.
namespace vss {

// True when every Vorbis stream in the Ogg image has a setup header whose
// codebooks are all complete (or hold a single codeword); streams whose headers
// are cut short are left for the decoder to refuse.
bool VorbisCodebooksAreSound(const uint8_t* Data, int32_t Size);

} // namespace vss
