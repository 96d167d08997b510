#pragma once

#include "VelaXML/MemoryStream.h"
#include "VelaXML/Nodes.h"

#include <cstddef>
#include <cstdint>

// An XML document: a small non-validating reader that keeps the tree of
// elements, text, comments and declarations it finds.
class TVelaXML : public TVelaXMLClass {
public:
    // Creates an empty document (and the shared entity table on first use).
    TVelaXML();

    // The top-level nodes are Root's Items.
    TVelaXMLItem Root;

    // Parses the whole stream from its start; false (with Root empty) on any syntax error.
    bool Parse(TVelaXMLMemoryStream& stream);
    // Parses bytes held elsewhere, with the same result as Parse on a stream holding them.
    bool ParseBytes(const uint8_t* data, size_t size);
};
