// The data package: the layout the packer writes and the lookups over it.
#include "DataManager/DataFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

// Builds a package image: directory entries, the terminating NUL, then the bytes.
std::vector<uint8_t> makePackage(const std::vector<std::pair<std::string, std::string>>& entries)
{
    size_t directorySize = 1;
    for (const auto& [name, bytes] : entries)
        directorySize += name.size() + 9;
    std::vector<uint8_t> package;
    uint32_t offset = static_cast<uint32_t>(directorySize);
    for (const auto& [name, bytes] : entries) {
        package.insert(package.end(), name.begin(), name.end());
        package.push_back(0);
        for (uint32_t value : {offset, static_cast<uint32_t>(bytes.size())})
            for (int shift = 0; shift < 32; shift += 8)
                package.push_back(static_cast<uint8_t>(value >> shift));
        offset += static_cast<uint32_t>(bytes.size());
    }
    package.push_back(0);
    for (const auto& [name, bytes] : entries)
        package.insert(package.end(), bytes.begin(), bytes.end());
    return package;
}

std::string text(const DataFileEntry& entry) { return std::string(entry.data, entry.data + entry.size); }

TEST(DataPackage, FindsEntriesByNameInAnyCase)
{
    std::vector<uint8_t> package = makePackage({{"Music.OGG", "ogg bytes"}, {"fail.ogg", "buzz"}});
    const TDataFiles table = BuildDataFiles(package.data(), package.size());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_STREQ(table[0].name, "music.ogg"); // lower-cased in place

    for (const char* name : {"music.ogg", "MUSIC.OGG", "mUsIc.OgG"}) {
        const DataFileEntry* entry = FindDataFile(table, name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(text(*entry), "ogg bytes");
    }
    for (const char* name : {"music", "data/music.ogg", "music.ogg ", "usic.ogg", ""})
        EXPECT_EQ(FindDataFile(table, name), nullptr) << '"' << name << '"';
}

TEST(DataPackage, CopiesAreIndependentAndAbsentNamesLeaveTheOutputAlone)
{
    std::vector<uint8_t> package = makePackage({{"a.xm", "module"}});
    const TDataFiles table = BuildDataFiles(package.data(), package.size());

    std::vector<uint8_t> first, second;
    ASSERT_TRUE(GetDataFile(table, "A.XM", first));
    ASSERT_TRUE(GetDataFile(table, "a.xm", second));
    EXPECT_EQ(first, second);
    EXPECT_NE(first.data(), second.data());
    first[0] = 'X';
    EXPECT_EQ(second[0], 'm');

    std::vector<uint8_t> untouched{1, 2, 3};
    EXPECT_FALSE(GetDataFile(table, "b.xm", untouched));
    EXPECT_EQ(untouched, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(DataPackage, EmptyAndDamagedDirectories)
{
    std::vector<uint8_t> empty{0};
    EXPECT_TRUE(BuildDataFiles(empty.data(), empty.size()).empty());
    EXPECT_TRUE(BuildDataFiles(nullptr, 0).empty());

    // A directory cut inside its second entry ends the walk after the first, whole one
    // (whose bytes here are its own name, at offset 0).
    std::vector<uint8_t> cut{'o', 'n', 'e', 0, 0, 0, 0, 0, 3, 0, 0, 0, 't', 'w', 'o', 0, 1, 0};
    const TDataFiles table = BuildDataFiles(cut.data(), cut.size());
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(text(table[0]), "one");
    std::vector<uint8_t> unterminatedName{'a', 'b', 'c'};
    EXPECT_TRUE(BuildDataFiles(unterminatedName.data(), unterminatedName.size()).empty());

    // An entry whose bytes would lie outside the package is left out.
    std::vector<uint8_t> package = makePackage({{"big", "1234"}});
    package[4 + 4] = 0xFF; // size 255
    EXPECT_TRUE(BuildDataFiles(package.data(), package.size()).empty());
}

// The packer run on a folder: sorted lower-case names, bytes back to back.
class Packer : public ::testing::Test {
protected:
    fs::path folder = fs::temp_directory_path() / ("quavero-pack-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(folder / "data"); }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / "data" / name, std::ios::binary) << bytes;
    }

    std::vector<uint8_t> pack()
    {
        const fs::path output = folder / "out.pkg";
        const std::string command =
            std::string(PACKDATA_TOOL) + " " + (folder / "data").string() + " " + output.string() + " >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(output, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(Packer, EmptyFolderGivesOnlyTheTerminatingNul) { EXPECT_EQ(pack(), std::vector<uint8_t>{0}); }

TEST_F(Packer, WritesSortedLowerCaseEntriesBackToBack)
{
    write("Zeta.PNG", "zz");
    write("alpha.xm", "aaa");
    write(".hidden", "x");
    write("LICENSES", "notes");
    EXPECT_EQ(pack(), makePackage({{"alpha.xm", "aaa"}, {"zeta.png", "zz"}}));
}

} // namespace
