#pragma once

#include "DataManager/DataFiles.h"

#include <cstdint>
#include <span>
#include <string_view>

// The package file that the build packs from data/ and embeds in the game, read
// once and walked with the game's own table builder.
const TDataFiles& ShippedPackage();

// The bytes of a named entry; empty (and a test failure) when the package lacks it.
std::span<const uint8_t> ShippedEntry(std::string_view name);
