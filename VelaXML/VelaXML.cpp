#include "VelaXML/VelaXML.h"

#include "VelaXML/Entities.h"
#include "VelaXML/Reader.h"

TVelaXML::TVelaXML() { EntityTree(); }

bool TVelaXML::Parse(TVelaXMLMemoryStream& stream)
{
    stream.Seek(0);
    const bool parsed = ParseBytes(stream.Data(), stream.Size());
    stream.Seek(stream.Size());
    return parsed;
}

bool TVelaXML::ParseBytes(const uint8_t* data, size_t size)
{
    Root.Clear();
    TVelaXMLReader reader(data, data != nullptr ? size : 0);
    bool parsed = false;
    try {
        parsed = reader.Read(Root);
    } catch (...) {
        // Out of memory mid-document: leave no half-built tree behind the exception.
        Root.Clear();
        throw;
    }
    if (!parsed) {
        Root.Clear();
    }
    return parsed;
}
