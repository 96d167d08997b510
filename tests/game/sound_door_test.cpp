// The game's sound door with a real audio thread beside it: latches are never
// lost between a read and a reset, and every status the game reads while the
// mixer runs is published (the ThreadSanitizer build runs these too).
#include "DataManager/SoundSlots.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"
#include "game/GameSound.h"
#include "game/GameState.h"
#include "game/MusicPlayback.h"
#include "game/MusicSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

constexpr int32_t Track = 0;

class SoundDoor : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    TTrackPlayers door{&sound, Track};

    void SetUp() override
    {
        ASSERT_TRUE(load(SongSlotOf(Track), "2012_skyward_nobass.xm"));
        ASSERT_TRUE(load(PhraseSlotOf(Track), "2012_skyward_nobass_empty.xm"));
    }

    bool load(uint8_t slot, const std::string& name)
    {
        std::ifstream file(std::string(QUAVERO_SOURCE_DIR) + "/data/" + name, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        return sound.LoadModule(slot, bytes.data(), int32_t(bytes.size()), true, velaxm::kCubic);
    }
};

// Starts a note on the phrase player and renders its first block, as the mixer does.
void startNote(TVelaXM& player, int32_t note)
{
    TVelaXMPatternNote cell;
    cell.Note = note;
    cell.Instrument = 1;
    player.Module->Patterns[0].SetNote(0, 0, cell);
    player.Play();
    player.Render();
}

TEST_F(SoundDoor, ALatchSetWhileTheGameTakesTheLastOneIsKept)
{
    std::atomic<bool> firstStarted{false};
    // The audio thread holds the lock for a whole block: one note starts, the
    // game looks meanwhile, and a second note starts before the block ends.
    std::thread audio([&] {
        sound.EditModule(PhraseSlotOf(Track), [&](TVelaXM& player) {
            startNote(player, 49);
            firstStarted = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            startNote(player, 53);
        });
    });
    while (!firstStarted)
        std::this_thread::yield();
    EXPECT_TRUE(door.TakeDanceLatch(TMelodySource::Phrase));
    audio.join();
    EXPECT_TRUE(door.TakeDanceLatch(TMelodySource::Phrase)) << "the second note's latch was lost";
    EXPECT_FALSE(door.TakeDanceLatch(TMelodySource::Phrase));

    // The light's latch is cleared only for the note the light took.
    const int32_t seen = door.LightLatch(TMelodySource::Phrase);
    EXPECT_EQ(seen, 52);
    sound.EditModule(PhraseSlotOf(Track), [](TVelaXM& player) { startNote(player, 57); });
    door.ClearLightLatch(TMelodySource::Phrase, seen);
    EXPECT_EQ(door.LightLatch(TMelodySource::Phrase), 56);
}

TEST_F(SoundDoor, TheGameReadsAndWritesWhileTheAudioThreadMixesAndStartsMusic)
{
    // The audio thread as the device callback runs it: the music step, then a block.
    SoundSystem = &sound;
    ResetMusicPlayback();
    MusicFrameDrawn.Store(1);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        while (!stop) {
            ApplyMusicRequest();
            sound.MixBlock();
            std::this_thread::sleep_for(std::chrono::microseconds(200)); // the device's pace, sped up
        }
    });
    TGameSound music(&sound);
    const int32_t song = ModuleSource(SongSlotOf(Track));
    bool heardSong = false;
    for (int32_t round = 0; round < 200; ++round) {
        MusicRequest.Exchange(round % 50 < 25 ? song : MusicSilence);
        door.SoundNote(40 + round % 12);
        heardSong = heardSong || music.Playing(song);
        EXPECT_GE(door.PhrasePosition(), 0);
        EXPECT_GE(door.SoundingNote(TMelodySource::Song), -1);
        door.LightLatch(TMelodySource::Phrase);
        door.TakeDanceLatch(TMelodySource::Song);
        EXPECT_GE(door.MelodyLength(), 0);
        door.MelodyNote(0);
        door.PhraseSilent();
        door.SongSounding();
        door.ClearCells();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    MusicRequest.Exchange(MusicSilence);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
    audio.join();
    SoundSystem = nullptr;
    EXPECT_TRUE(heardSong);
    EXPECT_FALSE(music.Playing(song));
}

} // namespace
