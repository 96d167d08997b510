// The module bank: players loaded from real modules, started, stopped and
// added into the mix at the module group volume; the audio output serving a
// module and a music stream together.
#include <atomic>

#include <gtest/gtest.h>

#include "CorpusModules.h"
#include "SoundTestData.h"
#include "VelaSoundSystem/AudioOutput.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"

namespace {

const char* const ModuleName = "bomberclone-data__zb-tnt.xm";

class ModuleBank : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    std::vector<uint8_t> module = corpus::Read(corpus::ModulesDir() / ModuleName);

    void SetUp() override
    {
        ASSERT_FALSE(module.empty()) << corpus::MissingMessage();
        sound.SetAutoGain(false);
    }
    bool load(uint8_t Slot, int32_t Interpolation = 2)
    {
        return sound.LoadModule(Slot, module.data(), static_cast<int32_t>(module.size()), true, Interpolation);
    }
};

int32_t clamp16(int32_t Value) { return Value < -32768 ? -32768 : (Value > 32767 ? 32767 : Value); }

TEST_F(ModuleBank, LoadSetsAmplificationLoopAndInterpolation)
{
    ASSERT_TRUE(load(10));
    const TVelaXM& player = *sound.ModuleSlots[10];
    EXPECT_EQ(player.Module->MixAmplification, 256);
    EXPECT_TRUE(player.LoopSong);
    EXPECT_EQ(player.Interpolation, 2);
    EXPECT_EQ(player.BufferFrames, 1024);
    EXPECT_FALSE(player.Playing);
    ASSERT_TRUE(load(10, 7));
    EXPECT_EQ(sound.ModuleSlots[10]->Interpolation, 0);
}

TEST_F(ModuleBank, FailedLoadsEmptyTheSlot)
{
    ASSERT_TRUE(load(3));
    EXPECT_FALSE(sound.LoadModule(3, nullptr, 100, true, 2));
    EXPECT_EQ(sound.ModuleSlots[3], nullptr);
    ASSERT_TRUE(load(3));
    const std::vector<uint8_t> junk(300, 0x41);
    EXPECT_FALSE(sound.LoadModule(3, junk.data(), static_cast<int32_t>(junk.size()), true, 2));
    EXPECT_EQ(sound.ModuleSlots[3], nullptr);
    EXPECT_FALSE(sound.StartModule(3));
}

TEST_F(ModuleBank, PlayingPlayerIsAddedAtTheModuleVolume)
{
    ASSERT_TRUE(load(0));
    ASSERT_TRUE(sound.StartModule(0));
    EXPECT_TRUE(sound.IsModulePlaying(0));
    const TVelaXM& player = *sound.ModuleSlots[0];
    bool heard = false;
    for (int block = 0; block < 40; ++block) {
        sound.MixBlock();
        for (int i = 0; i < 2048; ++i) {
            ASSERT_EQ(sound.MixBuffer[i], clamp16(player.Mix[i] >> 12)) << block << " " << i;
            heard = heard || sound.MixBuffer[i] != 0;
        }
    }
    EXPECT_TRUE(heard);
    sound.SetModuleVolume(0.5f);
    sound.MixBlock();
    for (int i = 0; i < 2048; ++i) {
        ASSERT_EQ(sound.MixBuffer[i], clamp16((2048 * (player.Mix[i] >> 12)) >> 12)) << i;
    }
}

TEST_F(ModuleBank, StoppedPlayerFallsSilent)
{
    ASSERT_TRUE(load(5));
    ASSERT_TRUE(sound.StartModule(5));
    for (int block = 0; block < 10; ++block) {
        sound.MixBlock();
    }
    EXPECT_TRUE(sound.StopModule(5));
    EXPECT_FALSE(sound.IsModulePlaying(5));
    sound.MixBlock();
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(sound.OutputBuffer[i], 0);
    }
}

void startTrack(void* Context)
{
    TVelaSoundSystem& sound = *static_cast<TVelaSoundSystem*>(Context);
    if (!sound.IsModulePlaying(1)) {
        sound.StartModule(1);
        sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    }
}

TEST_F(ModuleBank, AudioOutputServesAModuleAndAMusicSlot)
{
    using namespace soundtest;
    const auto ogg = EncodeOgg(Sine(40000, 2, 44100, 330.0, 0.3), 2, 44100);
    TVelaSoundSystem expected(44100, 2, 16, 1024);
    for (TVelaSoundSystem* s : {&sound, &expected}) {
        ASSERT_TRUE(s->LoadModule(1, module.data(), static_cast<int32_t>(module.size()), true, 2));
        ASSERT_TRUE(s->LoadMusic(0, ogg.data(), static_cast<int32_t>(ogg.size())));
    }
    std::atomic<int32_t> loaded{0};
    TAudioOutput output(sound, loaded);
    output.SetApplyMusicRequestHook(startTrack, &sound);
    std::vector<uint8_t> bytes(4096);
    output.Fill(bytes.data(), 4096);
    EXPECT_EQ(bytes, std::vector<uint8_t>(4096, 0));
    EXPECT_FALSE(sound.IsModulePlaying(1));

    loaded = 1;
    expected.StartModule(1);
    expected.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    bool heard = false;
    for (int block = 0; block < 20; ++block) {
        output.Fill(bytes.data(), 4096);
        expected.MixBlock();
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.OutputBuffer.get())) << block;
        heard = heard || bytes != std::vector<uint8_t>(4096, 0);
    }
    EXPECT_TRUE(heard);
    EXPECT_TRUE(sound.IsModulePlaying(1));
    EXPECT_TRUE(sound.IsMusicPlaying(0));
}

} // namespace
