#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// One entry of the data package's lookup table; name and data point into the package.
struct DataFileEntry {
    const char* name;
    const uint8_t* data;
    uint32_t size;
};

using TDataFiles = std::vector<DataFileEntry>;

// Builds a lookup table over any package buffer: lower-cases the names in place
// and records each entry. A directory that runs past the buffer ends the walk,
// and an entry whose bytes lie outside the buffer is left out.
TDataFiles BuildDataFiles(uint8_t* package, size_t packageSize);

// The record whose name equals the lower-cased name, or null.
const DataFileEntry* FindDataFile(const TDataFiles& table, std::string_view name);

// Copies the named entry into data and returns true; false (data untouched) when absent.
bool GetDataFile(const TDataFiles& table, std::string_view name, std::vector<uint8_t>& data);

// The process-wide table over the package embedded in the executable.
void InitDataFiles();
const DataFileEntry* FindDataFile(std::string_view name);
bool GetDataFile(std::string_view name, std::vector<uint8_t>& data);
