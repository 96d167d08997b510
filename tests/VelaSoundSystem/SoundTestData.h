#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test inputs made in code: Ogg Vorbis streams encoded in memory and WAVE
// images assembled byte by byte.
namespace soundtest {

// Encodes Frames frames of Channels interleaved float channels (-1..1) at
// Rate as an Ogg Vorbis stream held in memory.
std::vector<uint8_t> EncodeOgg(const std::vector<float>& Interleaved, int Channels, int Rate, float Quality = 0.6f);

// Pages whole packets as one Ogg stream, one page per packet: the first
// packet begins the stream, the last ends it, header packets (the first three)
// carry granule position 0 and later ones steps of 1024 frames.
std::vector<uint8_t> PageOggPackets(const std::vector<std::vector<uint8_t>>& Packets, int Serial);

// A sine of Frequency Hz and Amplitude in every channel (channel k shifted by
// k x 90 degrees so the channels differ).
std::vector<float> Sine(int Frames, int Channels, int Rate, double Frequency, double Amplitude);

// Decodes an Ogg Vorbis image with the reference decoder into 16-bit
// interleaved values; Channels and Rate receive the stream information.
std::vector<int16_t> ReferenceDecode(const std::vector<uint8_t>& Ogg, int& Channels, int& Rate);

// Builds a RIFF WAVE image chunk by chunk.
class TWaveBuilder {
public:
    // Starts the image with "RIFF", a size patched in Bytes(), and Form.
    explicit TWaveBuilder(const char* Form = "WAVE");
    // Appends a chunk with the given identifier and body; the header size is
    // Body's size unless DeclaredSize is given.
    TWaveBuilder& Chunk(const char* Id, const std::vector<uint8_t>& Body, int64_t DeclaredSize = -1);
    // Appends the 16-byte format record as a "fmt " chunk.
    TWaveBuilder& Format(uint16_t Tag, uint16_t Channels, uint32_t Rate, uint16_t Bits, const char* Id = "fmt ");
    // The finished image.
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<uint8_t> bytes_;
};

// Little-endian helpers for chunk bodies.
void PutU16(std::vector<uint8_t>& Out, uint32_t Value);
void PutU32(std::vector<uint8_t>& Out, uint32_t Value);

// A "smpl" body with the given loops (type, start, end) and loop count field.
std::vector<uint8_t> SamplerChunk(const std::vector<std::vector<uint32_t>>& Loops, int32_t LoopCount = -1);

// A 16-bit WAVE image of the given interleaved values.
std::vector<uint8_t> Wave16(const std::vector<int16_t>& Values, int Channels, uint32_t Rate);

} // namespace soundtest
