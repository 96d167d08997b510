#pragma once

#include "VelaXML/StringTree.h"

#include <cstdint>

// One named character reference: the text as written (with "&" and ";") and the byte it stands for.
struct TEntitiesCharLookUpItem {
    const char* Entity;
    uint8_t Character;
};

// Number of named references the reader knows.
inline constexpr int32_t EntityCount = 102;

// The table: the five XML entities, "&euro;", then the HTML 4 Latin-1 set from "&nbsp;" to "&yuml;".
extern const TEntitiesCharLookUpItem EntitiesCharLookUp[EntityCount];

// The shared tree from entity text to entry number 1 .. EntityCount, built on first use.
const TVelaXMLStringTree& EntityTree();

// The byte of a reference as written ("&lt;"); false for an unknown name.
bool FindEntity(std::string_view reference, uint8_t& character);
