#pragma once

// The module files a benchmark runs over, read once into memory.
#include <cstdint>
#include <string>
#include <vector>

namespace xmbench {

struct Song {
    std::string name;           // file name
    std::vector<uint8_t> image; // the whole file
};

// Every .xm and .mod file under a folder (recursively), sorted by name.
std::vector<Song> loadSongs(const std::string& folder);

// Frames of the song in one pass at 44.1 kHz, found by running our sequencer
// alone; at most maxFrames (songs that jump back forever never end).
int64_t songFrames(const Song& song, int64_t maxFrames);

} // namespace xmbench
