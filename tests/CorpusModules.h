#pragma once
// The module corpus: real XM and MOD files listed in tests/corpus/MANIFEST.tsv and
// fetched into QUAVERO_CORPUS_DIR/modules by scripts/fetch-corpus.sh.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace corpus {

inline std::filesystem::path ModulesDir() { return std::filesystem::path(QUAVERO_CORPUS_DIR) / "modules"; }

// The file names the manifest lists, sorted.
inline std::vector<std::string> ListedNames()
{
    std::ifstream manifest(std::string(QUAVERO_SOURCE_DIR) + "/tests/corpus/MANIFEST.tsv");
    std::vector<std::string> names;
    std::string line;
    std::getline(manifest, line); // column titles
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int column = 0; column < 5; ++column)
            std::getline(fields, field, '\t');
        if (!field.empty())
            names.push_back(field);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The listed files that are present; never throws, so a missing corpus cannot
// stop the tests from being listed.
inline std::vector<std::filesystem::path> Modules()
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const std::string& name : ListedNames())
        if (std::filesystem::is_regular_file(ModulesDir() / name, error))
            files.push_back(ModulesDir() / name);
    return files;
}

// The bytes of a file (empty when it cannot be read).
inline std::vector<uint8_t> Read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Empty when every listed file is present; otherwise what is missing and how to get it.
inline std::string MissingMessage()
{
    const size_t listed = ListedNames().size();
    const size_t present = Modules().size();
    if (listed > 0 && present == listed)
        return "";
    const std::string folder = std::filesystem::path(QUAVERO_CORPUS_DIR).string();
    return "the module corpus has " + std::to_string(present) + " of its " + std::to_string(listed) + " files in " +
           ModulesDir().string() + "; fetch it with: bash scripts/fetch-corpus.sh " + folder;
}

} // namespace corpus
