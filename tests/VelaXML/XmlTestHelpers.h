#pragma once

#include "VelaXML/VelaXML.h"

#include <string>
#include <string_view>

// Parses a document held in a string through the stream interface, as the atlas loader does.
inline bool parseText(TVelaXML& document, std::string_view text)
{
    TVelaXMLMemoryStream stream;
    stream.Write(text.data(), text.size());
    return document.Parse(stream);
}

// The top-level node at index, cast to the class the test expects (null on a mismatch).
template <typename T>
const T* topNode(const TVelaXML& document, int32_t index)
{
    return dynamic_cast<const T*>(document.Root.Items.Get(index));
}

// The child at index of a node, cast likewise.
template <typename T>
const T* childNode(const TVelaXMLItem* parent, int32_t index)
{
    return parent != nullptr ? dynamic_cast<const T*>(parent->Items.Get(index)) : nullptr;
}
