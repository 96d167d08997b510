// Extension chunks after the sample data: text, names, plugins and the MIDI macro table.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace xmtest;

namespace {

std::unique_ptr<TVelaXMModule> loadWithChunks(const Bytes& trailer, bool* ok = nullptr)
{
    XmModule m;
    m.channels = 3;
    m.patterns.push_back(makePattern(1, 3));
    m.patterns.push_back(makePattern(1, 3));
    m.trailer = trailer;
    return load(buildXM(m), ok);
}

Bytes text(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes fixedName(const std::string& s, size_t width)
{
    Bytes out(width, 0);
    std::memcpy(out.data(), s.data(), std::min(width, s.size()));
    return out;
}

std::string macro(const TVelaXMModule& m, int32_t index)
{
    return std::string(reinterpret_cast<const char*>(m.MIDIConfig.data() + index * 32));
}

} // namespace

TEST(LoaderChunks, TextChunkAddsLineFeedAfterCarriageReturn)
{
    auto m = loadWithChunks(chunk("text", text("a\rb")));
    EXPECT_EQ(m->MessageText, "a\r\nb");
}

TEST(LoaderChunks, NamesAndPluginsGoToPatternsAndChannels)
{
    Bytes pnam = fixedName(" intro", 32);
    const Bytes second = fixedName("verse", 32);
    pnam.insert(pnam.end(), second.begin(), second.end());
    Bytes cnam = fixedName("bass", 20);
    const Bytes lead = fixedName("lead ", 20);
    cnam.insert(cnam.end(), lead.begin(), lead.end());
    const Bytes chfx = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
    // Equaliser, plugin and unknown chunks are skipped, and the chunks after them still read.
    Bytes trailer = chunk("PNAM", pnam);
    for (const Bytes& c : {chunk("EQFX", {9, 9}), chunk("FX07", {7}), chunk("ABCD", {1}), chunk("CNAM", cnam),
             chunk("WXYZ", {2, 3}), chunk("CHFX", chfx)})
        trailer.insert(trailer.end(), c.begin(), c.end());
    bool ok = false;
    auto m = loadWithChunks(trailer, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Patterns[0].Name, "intro");
    EXPECT_EQ(m->Patterns[1].Name, "verse");
    EXPECT_EQ(m->Channels[0].Name, "bass");
    EXPECT_EQ(m->Channels[1].Name, "lead");
    EXPECT_EQ(m->Channels[2].ChannelPlugin, 3);
    EXPECT_EQ(m->Channels[3].ChannelPlugin, 0); // only NumChannels entries
}

TEST(LoaderChunks, OutOfRangeNameChunksAreSkipped)
{
    Bytes trailer = chunk("CNAM", Bytes(80, 'x')); // 4 names for 3 channels
    const Bytes pnam = chunk("PNAM", Bytes(16, 'y')); // shorter than one name
    trailer.insert(trailer.end(), pnam.begin(), pnam.end());
    auto m = loadWithChunks(trailer);
    EXPECT_TRUE(m->Channels[0].Name.empty());
    EXPECT_TRUE(m->Patterns[0].Name.empty());
}

TEST(LoaderChunks, MidiChunkReplacesTableOnlyWithExactLength)
{
    Bytes config(4896, 0);
    std::memcpy(config.data(), "F0F001FF", 8);
    auto m = loadWithChunks(chunk("MIDI", config));
    EXPECT_TRUE(m->EmbeddedMIDIConfig);
    EXPECT_EQ(macro(*m, 0), "F0F001FF");

    m = loadWithChunks(chunk("MIDI", Bytes(100, 'A')));
    EXPECT_FALSE(m->EmbeddedMIDIConfig);
    EXPECT_EQ(macro(*m, 0), "FF");
}

TEST(LoaderChunks, ModuChunkAndBadLengthsEndTheWalkQuietly)
{
    Bytes trailer = chunk("MODU", {});
    const Bytes after = chunk("text", text("never"));
    trailer.insert(trailer.end(), after.begin(), after.end());
    bool ok = false;
    auto m = loadWithChunks(trailer, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(m->MessageText.empty());

    Bytes lying = {'t', 'e', 'x', 't', 0xFF, 0xFF, 0xFF, 0x7F, 'h', 'i'};
    m = loadWithChunks(lying, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(m->MessageText, "hi");
}
