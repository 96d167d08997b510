#include "DataManager/DataFiles.h"

// Bounds of the package that EmbeddedPackage.S places in the writable data section.
extern "C" uint8_t quavero_data_package_start[];
extern "C" uint8_t quavero_data_package_end[];

namespace {

TDataFiles& embeddedTable()
{
    static TDataFiles table;
    return table;
}

} // namespace

void InitDataFiles()
{
    embeddedTable() = BuildDataFiles(quavero_data_package_start,
                                     static_cast<size_t>(quavero_data_package_end - quavero_data_package_start));
}

const DataFileEntry* FindDataFile(std::string_view name) { return FindDataFile(embeddedTable(), name); }

bool GetDataFile(std::string_view name, std::vector<uint8_t>& data) { return GetDataFile(embeddedTable(), name, data); }
