#include "ShippedPackage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

const TDataFiles& ShippedPackage()
{
    // The table points into the bytes, so both live for the whole test run.
    static std::vector<uint8_t> bytes = [] {
        std::ifstream in(QUAVERO_PACKAGE_FILE, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    static const TDataFiles table = BuildDataFiles(bytes.data(), bytes.size());
    return table;
}

std::span<const uint8_t> ShippedEntry(std::string_view name)
{
    const DataFileEntry* entry = FindDataFile(ShippedPackage(), name);
    if (entry == nullptr) {
        ADD_FAILURE() << "the package has no " << name;
        return {};
    }
    return {entry->data, entry->size};
}
