// The codebook check that keeps incomplete Huffman codes away from the
// decoder library, on setup headers written bit by bit.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "OggPageRepair.h"
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

struct TSetupShape {
    std::vector<int> Lengths; // code lengths of book 0 (0 = unused entry)
    int FloorOfMapping = 0; // an index into the single floor
    bool ResidueBookMapped = true; // the residue's book carries values
    int FramingBit = 1;
    bool CutBeforeModes = false;
};

void putCodebook(TBitWriter& W, const std::vector<int>& Lengths, bool ValueMapped)
{
    W.Put(0x564342, 24);
    W.Put(1, 16);
    W.Put(Lengths.size(), 24);
    W.Put(0, 1); // unordered
    bool sparse = false;
    for (int l : Lengths) {
        sparse = sparse || l == 0;
    }
    W.Put(sparse, 1);
    for (int l : Lengths) {
        if (sparse) {
            W.Put(l != 0, 1);
        }
        if (l != 0) {
            W.Put(l - 1, 5);
        }
    }
    if (!ValueMapped) {
        W.Put(0, 4);
        return;
    }
    W.Put(1, 4); // lattice lookup: one value per entry for dimension 1
    W.Put(0, 32);
    W.Put(0, 32);
    W.Put(0, 4); // 1-bit values
    W.Put(0, 1);
    W.Put(0, static_cast<int>(Lengths.size()));
}

// A minimal mono setup: book 0 under test, book 1 for the residue, one floor
// of type 1, one residue, one mapping, one mode.
std::vector<uint8_t> setupHeader(const TSetupShape& Shape)
{
    TBitWriter w;
    for (char c : std::string("\x05vorbis")) {
        w.Put(uint8_t(c), 8);
    }
    w.Put(1, 8); // two codebooks
    putCodebook(w, Shape.Lengths, false);
    putCodebook(w, {1, 1}, Shape.ResidueBookMapped);
    w.Put(0, 6); // one time-domain entry, always 0
    w.Put(0, 16);
    w.Put(0, 6); // one floor, type 1, no partitions
    w.Put(1, 16);
    w.Put(0, 5);
    w.Put(0, 2);
    w.Put(0, 4);
    w.Put(0, 6); // one residue of type 0 using book 1 in its first stage
    w.Put(0, 16);
    w.Put(0, 24);
    w.Put(0, 24);
    w.Put(0, 24);
    w.Put(0, 6);
    w.Put(1, 8);
    w.Put(1, 3);
    w.Put(0, 1);
    w.Put(1, 8);
    w.Put(0, 6); // one mapping, one submap, no coupling
    w.Put(0, 16);
    w.Put(0, 1);
    w.Put(0, 1);
    w.Put(0, 2);
    w.Put(0, 8);
    w.Put(Shape.FloorOfMapping, 8);
    w.Put(0, 8);
    if (!Shape.CutBeforeModes) {
        w.Put(0, 6); // one mode
        w.Put(0, 1);
        w.Put(0, 16);
        w.Put(0, 16);
        w.Put(0, 8);
        w.Put(Shape.FramingBit, 1);
    }
    return w.Bytes();
}

std::vector<uint8_t> identificationHeader()
{
    std::vector<uint8_t> p = {1, 'v', 'o', 'r', 'b', 'i', 's', 0, 0, 0, 0, 1};
    soundtest::PutU32(p, 44100);
    for (int i = 0; i < 3; ++i) {
        soundtest::PutU32(p, 0);
    }
    p.push_back(0xB8); // block sizes 256 and 2048
    p.push_back(1);
    return p;
}

bool sound(const TSetupShape& Shape)
{
    const std::vector<uint8_t> comments = {3, 'v', 'o', 'r', 'b', 'i', 's', 0, 0, 0, 0, 0, 0, 0, 0, 1};
    const auto ogg = soundtest::PageOggPackets({identificationHeader(), comments, setupHeader(Shape)}, 77);
    return vss::VorbisCodebooksAreSound(ogg.data(), static_cast<int32_t>(ogg.size()));
}

bool sound(const std::vector<int>& Lengths)
{
    TSetupShape shape;
    shape.Lengths = Lengths;
    return sound(shape);
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

TEST(VorbisSetupCheck, BrokenStructureFails)
{
    TSetupShape shape;
    shape.Lengths = {1, 1};
    ASSERT_TRUE(sound(shape));
    shape.FloorOfMapping = 1;
    EXPECT_FALSE(sound(shape));
    shape.FloorOfMapping = 0;
    shape.ResidueBookMapped = false;
    EXPECT_FALSE(sound(shape));
    shape.ResidueBookMapped = true;
    shape.FramingBit = 0;
    EXPECT_FALSE(sound(shape));
    shape.FramingBit = 1;
    shape.CutBeforeModes = true;
    EXPECT_FALSE(sound(shape));
}

bool imageIsSound(const std::vector<uint8_t>& Ogg, size_t Size = SIZE_MAX)
{
    return vss::VorbisCodebooksAreSound(Ogg.data(), static_cast<int32_t>(std::min(Size, Ogg.size())));
}

TEST(VorbisSetupCheck, RealStreamsPassAndOtherDataIsLeftToTheDecoder)
{
    for (int channels : {1, 2, 6}) {
        const auto ogg = soundtest::EncodeOgg(soundtest::Sine(3000, channels, 44100, 440.0, 0.5), channels, 44100);
        EXPECT_TRUE(imageIsSound(ogg)) << channels;
    }
    // A chain of two links that reuse one serial number.
    auto chain = soundtest::EncodeOgg(soundtest::Sine(3000, 1, 44100, 440.0, 0.5), 1, 44100);
    const auto second = soundtest::EncodeOgg(soundtest::Sine(2000, 2, 22050, 330.0, 0.5), 2, 22050);
    chain.insert(chain.end(), second.begin(), second.end());
    EXPECT_TRUE(imageIsSound(chain));

    const uint8_t junk[] = "OggS but nothing more";
    EXPECT_TRUE(vss::VorbisCodebooksAreSound(junk, sizeof junk));
}

// Offset of the second page of an Ogg image.
size_t secondPage(const std::vector<uint8_t>& Ogg)
{
    size_t body = 0;
    for (int s = 0; s < Ogg[26]; ++s) {
        body += Ogg[27 + s];
    }
    return 27 + Ogg[26] + body;
}

// The decoder reads on where this check would have to guess which packet
// becomes the setup header, so such images are refused.
TEST(VorbisSetupCheck, HeadersThatCannotBeFollowedFail)
{
    const auto ogg = soundtest::EncodeOgg(soundtest::Sine(3000, 2, 44100, 440.0, 0.5), 2, 44100);
    ASSERT_TRUE(imageIsSound(ogg));
    const size_t second = secondPage(ogg);

    EXPECT_FALSE(imageIsSound(ogg, second + 100)) << "cut inside the setup header";

    auto restarted = ogg;
    restarted[second + 5] |= 0x02; // the comment page claims to begin the stream
    soundtest::RepairOggPages(restarted);
    EXPECT_FALSE(imageIsSound(restarted));

    auto gap = ogg;
    gap[second + 18] += 1; // a page sequence number skipped
    soundtest::RepairOggPages(gap);
    EXPECT_FALSE(imageIsSound(gap));

    // A second link that is nothing but an empty first page.
    auto emptyLink = ogg;
    const uint8_t emptyFirstPage[27] = {'O', 'g', 'g', 'S', 0, 0x02};
    emptyLink.insert(emptyLink.end(), emptyFirstPage, emptyFirstPage + sizeof emptyFirstPage);
    soundtest::RepairOggPages(emptyLink);
    EXPECT_FALSE(imageIsSound(emptyLink));
}

TEST(VorbisSetupCheck, OnlySoundVorbisStreamsPass)
{
    const auto ogg = soundtest::EncodeOgg(soundtest::Sine(3000, 2, 44100, 440.0, 0.5), 2, 44100);
    const size_t firstBody = 27 + ogg[26];
    auto noChannels = ogg;
    noChannels[firstBody + 11] = 0;
    soundtest::RepairOggPages(noChannels);
    EXPECT_FALSE(imageIsSound(noChannels));

    auto badBlocks = ogg;
    badBlocks[firstBody + 28] = 0x5B; // short block 2^11 above long block 2^5
    soundtest::RepairOggPages(badBlocks);
    EXPECT_FALSE(imageIsSound(badBlocks));

    // A second link that holds a video stream.
    auto withVideo = ogg;
    const auto video = soundtest::PageOggPackets({{0x80, 't', 'h', 'e', 'o', 'r', 'a', 3, 2, 0}}, 77);
    withVideo.insert(withVideo.end(), video.begin(), video.end());
    EXPECT_FALSE(imageIsSound(withVideo));
}

} // namespace
