// The codebook check that keeps incomplete Huffman codes away from the
// decoder library, on setup headers written bit by bit.
#include <cstring>

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/VorbisSetupCheck.h"

namespace {

class TBitWriter {
public:
    void Put(uint64_t Value, int Bits)
    {
        for (int i = 0; i < Bits; ++i, ++bits_) {
            if (bits_ % 8 == 0) {
                bytes_.push_back(0);
            }
            bytes_.back() |= uint8_t(((Value >> i) & 1) << (bits_ % 8));
        }
    }
    std::vector<uint8_t> Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int64_t bits_ = 0;
};

// A setup header with one unordered codebook of dimension 1 and the given
// code lengths (0 = unused entry, which makes the book sparse).
std::vector<uint8_t> setupWithLengths(const std::vector<int>& Lengths)
{
    TBitWriter w;
    for (char c : std::string("\x05vorbis")) {
        w.Put(uint8_t(c), 8);
    }
    w.Put(0, 8); // one codebook
    w.Put(0x564342, 24);
    w.Put(1, 16);
    w.Put(Lengths.size(), 24);
    w.Put(0, 1); // unordered
    bool sparse = false;
    for (int l : Lengths) {
        sparse = sparse || l == 0;
    }
    w.Put(sparse, 1);
    for (int l : Lengths) {
        if (sparse) {
            w.Put(l != 0, 1);
        }
        if (l != 0) {
            w.Put(l - 1, 5);
        }
    }
    w.Put(0, 4); // no lookup
    w.Put(0, 32); // the rest of the header is not examined
    return w.Bytes();
}

std::vector<uint8_t> oggWithPackets(const std::vector<std::vector<uint8_t>>& Packets)
{
    ogg_stream_state os;
    ogg_stream_init(&os, 77);
    std::vector<uint8_t> out;
    for (size_t i = 0; i < Packets.size(); ++i) {
        ogg_packet p{};
        p.packet = const_cast<unsigned char*>(Packets[i].data());
        p.bytes = static_cast<long>(Packets[i].size());
        p.b_o_s = i == 0;
        p.packetno = static_cast<ogg_int64_t>(i);
        ogg_stream_packetin(&os, &p);
        ogg_page page;
        while (ogg_stream_flush(&os, &page) != 0) {
            out.insert(out.end(), page.header, page.header + page.header_len);
            out.insert(out.end(), page.body, page.body + page.body_len);
        }
    }
    ogg_stream_clear(&os);
    return out;
}

bool sound(const std::vector<int>& Lengths)
{
    const std::vector<uint8_t> ident = {1, 'v', 'o', 'r', 'b', 'i', 's', 0};
    const std::vector<uint8_t> comments = {3, 'v', 'o', 'r', 'b', 'i', 's', 0};
    const auto ogg = oggWithPackets({ident, comments, setupWithLengths(Lengths)});
    return vss::VorbisCodebooksAreSound(ogg.data(), static_cast<int32_t>(ogg.size()));
}

TEST(VorbisSetupCheck, CompleteCodesPass)
{
    EXPECT_TRUE(sound({2, 2, 2, 2}));
    EXPECT_TRUE(sound({1, 2, 3, 3}));
    EXPECT_TRUE(sound({1, 0, 2, 0, 2})); // sparse, complete over the used entries
    EXPECT_TRUE(sound({0, 0, 3, 0})); // a single codeword is its own special case
}

TEST(VorbisSetupCheck, OverAndUnderFullCodesFail)
{
    EXPECT_FALSE(sound({2, 2, 2, 3}));
    EXPECT_FALSE(sound({1, 1, 2}));
    EXPECT_FALSE(sound({1, 2, 0, 0}));
    EXPECT_FALSE(sound({0, 0, 0}));
}

TEST(VorbisSetupCheck, RealStreamsPassAndOtherDataIsLeftToTheDecoder)
{
    for (int channels : {1, 2, 6}) {
        const auto ogg = soundtest::EncodeOgg(soundtest::Sine(3000, channels, 44100, 440.0, 0.5), channels, 44100);
        EXPECT_TRUE(vss::VorbisCodebooksAreSound(ogg.data(), static_cast<int32_t>(ogg.size()))) << channels;
        // Cut inside the setup header: the decoder refuses it, not this check.
        EXPECT_TRUE(vss::VorbisCodebooksAreSound(ogg.data(), 200));
    }
    const uint8_t junk[] = "OggS but nothing more";
    EXPECT_TRUE(vss::VorbisCodebooksAreSound(junk, sizeof junk));
}

} // namespace
