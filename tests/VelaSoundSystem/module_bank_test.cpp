// The module bank: players loaded from real modules, started, stopped and
// added into the mix at the module group volume.
#include <gtest/gtest.h>

#include "CorpusModules.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"

#include <thread>

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
    bool load(uint8_t Slot, int32_t Interpolation = velaxm::kCubic)
    {
        return sound.LoadModule(Slot, module.data(), static_cast<int32_t>(module.size()), true,
                                static_cast<velaxm::Interpolation>(Interpolation));
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
    EXPECT_FALSE(player.Playing());
    ASSERT_TRUE(load(10, 7));
    EXPECT_EQ(sound.ModuleSlots[10]->Interpolation, velaxm::kNone);
}

TEST_F(ModuleBank, AnEditRunsUnderTheLockAndMayCallTheOtherOperations)
{
    ASSERT_TRUE(load(3));
    bool ran = false;
    EXPECT_TRUE(sound.EditModule(3, [&](TVelaXM& player) {
        EXPECT_TRUE(sound.StartModule(3)); // re-enters the lock
        sound.MixBlock();
        ran = player.Playing();
    }));
    EXPECT_TRUE(ran);
    // Released once the edit is over: another thread mixes.
    std::thread([this] { sound.MixBlock(); }).join();
    EXPECT_FALSE(sound.EditModule(4, [](TVelaXM&) { ADD_FAILURE() << "an empty slot has nothing to edit"; }));
}

TEST_F(ModuleBank, FailedLoadsEmptyTheSlot)
{
    ASSERT_TRUE(load(3));
    EXPECT_FALSE(sound.LoadModule(3, nullptr, 100, true, velaxm::kCubic));
    EXPECT_EQ(sound.ModuleSlots[3], nullptr);
    ASSERT_TRUE(load(3));
    const std::vector<uint8_t> junk(300, 0x41);
    EXPECT_FALSE(sound.LoadModule(3, junk.data(), static_cast<int32_t>(junk.size()), true, velaxm::kCubic));
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

} // namespace
