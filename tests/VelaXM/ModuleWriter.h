#pragma once

// Builds small XM and MOD images in memory so that loader and player tests can
// state exactly which bytes they feed in.
#include "VelaXM/Pattern.h"

#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace xmtest {

using Bytes = std::vector<uint8_t>;

struct XmSample {
    Bytes data; // bytes as stored in the file (already delta-coded)
    int64_t length = -1; // length field; -1 means data.size()
    uint32_t loopStart = 0;
    uint32_t loopLength = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
    uint8_t reserved = 0;
    std::string name;
};

struct XmEnvelope {
    std::vector<std::pair<uint16_t, uint16_t>> points;
    uint8_t count = 0xFF; // 0xFF means points.size()
    uint8_t sustain = 0;
    uint8_t loopStart = 0;
    uint8_t loopEnd = 0;
    uint8_t type = 0;
};

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;
    uint32_t headerSize = 263;
    std::array<uint8_t, 96> sampleMap{};
    XmEnvelope volume;
    XmEnvelope panning;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    uint16_t fadeout = 0;
};

struct XmPattern {
    uint16_t rows = 64;
    Bytes packed; // packed cell data
    uint32_t headerLength = 9;
    int32_t packedSizeField = -1; // -1 means packed.size()
};

struct XmModule {
    std::string name = "test";
    uint16_t version = 0x0104;
    uint32_t headerSize = 276;
    uint16_t songLength = 1;
    uint16_t restart = 0;
    uint16_t channels = 4;
    uint16_t flags = 1;
    uint16_t speed = 6;
    uint16_t bpm = 125;
    std::array<uint8_t, 256> orders{};
    int32_t patternCountField = -1; // -1 means patterns.size()
    int32_t instrumentCountField = -1;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
    Bytes trailer; // appended after the last sample (extension chunks)
};

// Packs cells row-major: empty cells as one 0x80 byte, others with the bits they need.
Bytes packCells(const std::vector<TVelaXMPatternNote>& cells);
// A pattern of rows x channels cells, all empty except those given (row, channel, cell).
XmPattern makePattern(
    uint16_t rows, int32_t channels, const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells = {});
Bytes buildXM(const XmModule& module);

Bytes deltaEncode8(const std::vector<int8_t>& values);
Bytes deltaEncode16(const std::vector<int16_t>& values);
// One extension chunk: identifier, little-endian length, payload.
Bytes chunk(const char* id, const Bytes& payload);
// A one-instrument, one-sample module with one pattern, ready for player tests.
XmModule simpleModule(int32_t channels, const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells,
    const XmSample& sample, uint16_t rows = 64);

struct ModSample {
    uint16_t lengthWords = 0;
    uint8_t finetune = 0;
    uint8_t volume = 64;
    uint16_t loopStartWords = 0;
    uint16_t loopLengthWords = 1;
    std::string name = "";
};

// A MOD image: header (31 samples, or 15 with an empty signature), patterns of
// channels x 64 cells of 4 bytes, then sample data filled with the byte value (index + 1).
Bytes buildMOD(const char* signature, int32_t channels, int32_t patterns, const std::vector<ModSample>& samples,
    uint8_t songLength = 1, const std::vector<uint8_t>& orders = {0});

} // namespace xmtest
