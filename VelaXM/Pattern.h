#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One pattern cell: note 1..96 = C-0..B-7, 97 = key off, 0 = empty.
struct TVelaXMPatternNote {
    static constexpr int32_t kFirstNote = 1; // C-0
    static constexpr int32_t kLastNote = 96; // B-7
    static constexpr int32_t kKeyOff = 97;   // releases the channel's voice

    // Whether Value is a note (not empty, not a key-off).
    static constexpr bool IsNote(int32_t Value) { return Value >= kFirstNote && Value <= kLastNote; }

    int32_t Note = 0;            // 0 none, 1..96 notes, 97 key off
    int32_t Instrument = 0;      // 0 none, 1..255
    int32_t Volume = 0;          // raw volume-column byte, 0 = empty
    int32_t Effect = 0;          // effect number, raw
    int32_t EffectParameter = 0; // 0..255

    bool operator==(const TVelaXMPatternNote&) const = default;
};

using TVelaXMPatternNotes = std::vector<TVelaXMPatternNote>;

// A grid of Rows x Channels cells, row-major, with one spare row that the loader
// never fills; indexes outside the cell array are ignored (writes) or read as
// empty cells (reads).
class TVelaXMPattern {
public:
    // Sets the dimensions; keeps the cells that still fit, zeroes the rest.
    void SetSize(int32_t NewRows, int32_t NewChannels);
    // The cell at Row * Channels + Channel, or an empty cell when out of range.
    TVelaXMPatternNote GetNote(int32_t Row, int32_t Channel) const;
    // Stores the cell at Row * Channels + Channel unless the index is out of range.
    void SetNote(int32_t Row, int32_t Channel, const TVelaXMPatternNote& Note);
    // Drops the name and the cells; Rows and Channels stay for the next SetSize.
    void Clear();
    // Index of a cell, or -1 when it is outside the cell array.
    int64_t CellIndex(int32_t Row, int32_t Channel) const;

    std::string Name;          // from the "PNAM" chunk
    int32_t Rows = 0;          // rows played
    uint8_t Channels = 0;      // cells per row
    TVelaXMPatternNotes Notes; // (Rows + 1) x Channels cells, or none
};
