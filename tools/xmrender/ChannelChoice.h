#pragma once

#include "VelaXM/Module.h"

#include <cstdint>
#include <string>
#include <vector>

// Which pattern channels a listener hears: --solo keeps only its channels,
// --mute silences its channels; channels are numbered from 1 as trackers show them.
struct TChannelChoice {
    std::vector<int32_t> solo; // empty: every channel
    std::vector<int32_t> mute;
};

// Reads "1,3,5-7" into channel numbers 1..256; returns an error text or "".
std::string ReadChannelList(const char* text, std::vector<int32_t>& channels);

// Marks the module's pattern channels muted as the choice says; returns an error
// naming a chosen channel the module does not have, or "".
std::string ApplyChannelChoice(const TChannelChoice& choice, TVelaXMModule& module);
