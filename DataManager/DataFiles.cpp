#include "DataManager/DataFiles.h"

#include <cstring>

namespace {

constexpr size_t EntryNumbersSize = 8; // offset and size, 32 bits each

uint32_t readU32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

} // namespace

TDataFiles BuildDataFiles(uint8_t* package, size_t packageSize)
{
    TDataFiles table;
    size_t position = 0;
    while (position < packageSize && package[position] != 0) {
        const void* nul = std::memchr(package + position, 0, packageSize - position);
        if (!nul)
            break;
        const size_t nameEnd = static_cast<const uint8_t*>(nul) - package;
        if (packageSize - (nameEnd + 1) < EntryNumbersSize)
            break;
        char* name = reinterpret_cast<char*>(package + position);
        for (char* c = name; *c; ++c)
            *c = lowerAscii(*c);
        const uint32_t offset = readU32(package + nameEnd + 1);
        const uint32_t size = readU32(package + nameEnd + 5);
        if (offset <= packageSize && size <= packageSize - offset)
            table.push_back({name, package + offset, size});
        position = nameEnd + 1 + EntryNumbersSize;
    }
    return table;
}

const DataFileEntry* FindDataFile(const TDataFiles& table, std::string_view name)
{
    for (const DataFileEntry& entry : table) {
        const size_t length = std::strlen(entry.name);
        if (length != name.size())
            continue;
        size_t i = 0;
        while (i < length && entry.name[i] == lowerAscii(name[i]))
            ++i;
        if (i == length)
            return &entry;
    }
    return nullptr;
}

bool GetDataFile(const TDataFiles& table, std::string_view name, std::vector<uint8_t>& data)
{
    const DataFileEntry* entry = FindDataFile(table, name);
    if (!entry)
        return false;
    data.assign(entry->data, entry->data + entry->size);
    return true;
}
