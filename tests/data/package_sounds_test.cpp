// The package's Ogg Vorbis sounds, decoded with libvorbisfile as a reference:
// rate, length, level, and the menu music's loop point.
#include "ShippedPackage.h"
#include "game/MelodyGame.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct MemoryFile {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

size_t readMemory(void* target, size_t size, size_t count, void* source)
{
    auto* file = static_cast<MemoryFile*>(source);
    const size_t n = std::min(size * count, file->bytes.size() - file->position);
    std::memcpy(target, file->bytes.data() + file->position, n);
    file->position += n;
    return size == 0 ? 0 : n / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(source);
    const int64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? static_cast<int64_t>(file->position)
                                              : static_cast<int64_t>(file->bytes.size());
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(file->bytes.size()))
        return -1;
    file->position = static_cast<size_t>(target);
    return 0;
}

long tellMemory(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->position); }

struct Decoded {
    bool opened = false;
    int32_t rate = 0;
    int32_t channels = 0;
    int64_t declaredFrames = 0;   // what the stream says, as the player's length query sees it
    std::vector<int16_t> samples; // interleaved
    int64_t Frames() const { return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0; }
};

Decoded decodeOgg(std::span<const uint8_t> bytes)
{
    Decoded out;
    MemoryFile file{bytes};
    const ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    OggVorbis_File vf;
    if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0)
        return out;
    out.opened = true;
    const vorbis_info* info = ov_info(&vf, -1);
    out.rate = static_cast<int32_t>(info->rate);
    out.channels = info->channels;
    out.declaredFrames = ov_pcm_total(&vf, -1);
    char buffer[8192];
    int section = 0;
    while (true) {
        const long n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (n <= 0) {
            EXPECT_EQ(n, 0) << "decoding error";
            break;
        }
        const size_t at = out.samples.size();
        out.samples.resize(at + static_cast<size_t>(n) / 2);
        std::memcpy(out.samples.data() + at, buffer, static_cast<size_t>(n));
    }
    ov_clear(&vf);
    return out;
}

int32_t peak(const Decoded& sound)
{
    int32_t result = 0;
    for (int16_t v : sound.samples)
        result = std::max(result, std::abs(static_cast<int32_t>(v)));
    return result;
}

struct ExpectedSound {
    const char* name;
    double minSeconds, maxSeconds;
};
// The jingles outlast the time the game asks for them, with half a second to
// spare for frames and audio blocks; speech and the fail buzz must finish
// before the turn goes on.
constexpr double Spare = 0.5;
const ExpectedSound Sounds[] = {
    {"music.ogg", 60, 120},
    {"leveldone.ogg", LevelDoneJingleSeconds + Spare, LevelDoneJingleSeconds + 2},
    {"gameover.ogg", GameOverJingleSeconds + Spare, GameOverJingleSeconds + 2},
    {"fail.ogg", 0.2, 1.5},   {"solistenup.ogg", 0.4, 3},      {"myturn.ogg", 0.3, 3},
    {"yourturn.ogg", 0.3, 3}, {"areyoukiddingme.ogg", 0.4, 3}, {"greatgameplaydude.ogg", 0.4, 3}};

} // namespace

TEST(DataSounds, EveryOggOpensAt44100HzWithItsIntendedLength)
{
    for (const ExpectedSound& want : Sounds) {
        SCOPED_TRACE(want.name);
        const Decoded sound = decodeOgg(ShippedEntry(want.name));
        ASSERT_TRUE(sound.opened);
        EXPECT_EQ(sound.rate, 44100);
        EXPECT_GE(sound.channels, 1);
        EXPECT_LE(sound.channels, 2);
        EXPECT_EQ(sound.Frames(), sound.declaredFrames);
        const double seconds = static_cast<double>(sound.Frames()) / 44100;
        EXPECT_GE(seconds, want.minSeconds);
        EXPECT_LE(seconds, want.maxSeconds);
        // Audible, and with headroom left for the mixer: nothing decodes to a clipped value.
        EXPECT_GT(peak(sound), 32768 / 8);
        EXPECT_LT(peak(sound), 32767);
    }
}

TEST(DataSounds, JinglesEndInSilenceSoTheLoopNeverRestartsThemAudibly)
{
    for (const char* name : {"leveldone.ogg", "gameover.ogg"}) {
        SCOPED_TRACE(name);
        const Decoded jingle = decodeOgg(ShippedEntry(name));
        ASSERT_GT(jingle.Frames(), 44100);
        Decoded tail = jingle;
        tail.samples.erase(tail.samples.begin(), tail.samples.end() - 44100 * jingle.channels / 2);
        EXPECT_LT(peak(tail), 33); // the last half second below -60 dBFS
    }
}

TEST(DataSounds, MenuMusicLoopsWithoutAStep)
{
    const Decoded music = decodeOgg(ShippedEntry("music.ogg"));
    ASSERT_TRUE(music.opened);
    const int32_t channels = music.channels;
    ASSERT_GT(music.Frames(), 44100);
    // The jump from the last frame back to the first must be no larger than the
    // steps the music takes by itself, or the loop clicks.
    std::vector<int32_t> steps;
    for (size_t i = static_cast<size_t>(channels); i < music.samples.size(); ++i)
        steps.push_back(std::abs(music.samples[i] - music.samples[i - static_cast<size_t>(channels)]));
    std::nth_element(steps.begin(), steps.begin() + static_cast<ptrdiff_t>(steps.size() * 99 / 100), steps.end());
    const int32_t typicalLargeStep = steps[steps.size() * 99 / 100];
    const size_t last = music.samples.size() - static_cast<size_t>(channels);
    for (int32_t c = 0; c < channels; ++c) {
        const int32_t seam =
            std::abs(music.samples[static_cast<size_t>(c)] - music.samples[last + static_cast<size_t>(c)]);
        EXPECT_LE(seam, typicalLargeStep) << "channel " << c;
    }
}
