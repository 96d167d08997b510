// packdata DATA_DIR OUTPUT
//
// Packs every file of DATA_DIR into the game's data package: a directory of
// entries (NUL-terminated lower-case name, 32-bit little-endian offset, 32-bit
// little-endian size), one NUL ending the directory, then the entries' bytes
// back to back in directory order. Names are sorted so the package is the same
// on every machine. Dot files and the licence and readme notes stay out.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    std::vector<char> bytes;
};

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return text;
}

bool isPackable(const fs::directory_entry& file)
{
    const std::string name = file.path().filename().string();
    if (!file.is_regular_file() || name.empty() || name[0] == '.')
        return false;
    const std::string lower = lowerAscii(name);
    return lower.rfind("licenses", 0) != 0 && lower.rfind("readme", 0) != 0;
}

void appendU32(std::vector<char>& out, uint64_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "packdata: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return fail("usage: packdata DATA_DIR OUTPUT");

    std::vector<Entry> entries;
    std::error_code error;
    if (fs::is_directory(argv[1], error)) {
        for (const auto& file : fs::directory_iterator(argv[1])) {
            if (!isPackable(file))
                continue;
            std::ifstream in(file.path(), std::ios::binary);
            if (!in)
                return fail("cannot read " + file.path().string());
            entries.push_back({lowerAscii(file.path().filename().string()),
                               std::vector<char>(std::istreambuf_iterator<char>(in), {})});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (size_t i = 1; i < entries.size(); ++i)
        if (entries[i].name == entries[i - 1].name)
            return fail("two files differ only in case: " + entries[i].name);

    uint64_t directorySize = 1;
    for (const Entry& entry : entries)
        directorySize += entry.name.size() + 1 + 8;

    std::vector<char> package;
    uint64_t offset = directorySize;
    for (const Entry& entry : entries) {
        if (offset + entry.bytes.size() > UINT32_MAX)
            return fail("package would pass 4 GiB");
        package.insert(package.end(), entry.name.begin(), entry.name.end());
        package.push_back('\0');
        appendU32(package, offset);
        appendU32(package, entry.bytes.size());
        offset += entry.bytes.size();
    }
    package.push_back('\0');
    for (const Entry& entry : entries)
        package.insert(package.end(), entry.bytes.begin(), entry.bytes.end());

    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(package.data(), static_cast<std::streamsize>(package.size()));
        if (!out)
            return fail("cannot write " + temporary);
    }
    fs::rename(temporary, argv[2]);
    std::printf("packdata: %zu entries, %zu bytes\n", entries.size(), package.size());
    return 0;
}
