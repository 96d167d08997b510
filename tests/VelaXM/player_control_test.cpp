// The player as the game drives it: single notes written into an empty
// module, the watched note, latches, the note log and mixing into a target.
#include "VelaXM/PlayerHelpers.h"

using namespace xmtest;

namespace {

constexpr int32_t kFramesPerRow = 6 * 882;

// A melody-less module: one instrument, one 64-row pattern without data.
std::unique_ptr<TVelaXM> emptyTrack()
{
    XmModule spec = simpleModule(4, {}, loopedSample());
    spec.patterns[0].packed.clear();
    return makePlayer(buildXM(spec));
}

void renderFrames(TVelaXM& player, int32_t frames)
{
    for (int32_t done = 0; done < frames; done += player.BufferFrames)
        player.Render();
}

} // namespace

TEST(PlayerControl, GameWritesOneNoteAndWatchesIt)
{
    auto player = emptyTrack();
    TVelaXMPattern& pattern = player->Module->Patterns[0];
    pattern.SetNote(0, 0, cell(49, 1));
    pattern.SetNote(8, 0, cell(97));
    player->LoopSong = false;
    EXPECT_TRUE(player->Play());
    EXPECT_EQ(player->TriggerLatchA(), -1);
    player->Render();
    EXPECT_EQ(player->WatchedNote(), 49);
    EXPECT_EQ(player->TriggerLatchA(), 48);
    EXPECT_EQ(player->TakeTriggerLatchB(), 48);
    EXPECT_EQ(player->TakeTriggerLatchB(), -1); // taken once
    EXPECT_GT(player->ActiveVoices(), 0);
    player->ClearTriggerLatchA(47); // a reader that saw another note clears nothing
    EXPECT_EQ(player->TriggerLatchA(), 48);
    player->ClearTriggerLatchA(48); // the reader takes the latch
    renderFrames(*player, 7 * kFramesPerRow);
    EXPECT_EQ(player->WatchedNote(), 49);
    EXPECT_EQ(player->TriggerLatchA(), -1);
    renderFrames(*player, kFramesPerRow + 1024);
    EXPECT_EQ(player->WatchedNote(), -1); // released at row 8
    EXPECT_GE(player->Module->CurrentRow, 9);
    ASSERT_EQ(player->NoteLogCount(), 1);
    EXPECT_EQ(player->LoggedNote(0), 48);
    EXPECT_EQ(player->LoggedRows(0), 0); // the first entry never counts rows
    EXPECT_EQ(player->LoggedNote(1), 0); // past the log

    // The game clears its cells again; the song then ends and falls silent.
    pattern.SetNote(0, 0, cell(0));
    pattern.SetNote(8, 0, cell(0));
    for (int i = 0; i < 400 && !(player->Module->SongEnded && player->ActiveVoices() == 0); ++i)
        player->Render();
    EXPECT_TRUE(player->Module->SongEnded);
    EXPECT_EQ(player->ActiveVoices(), 0);
}

TEST(PlayerControl, WatchedChannelFiltersNotesAndLogCountsRowsHeld)
{
    auto player = emptyTrack();
    TVelaXMPattern& pattern = player->Module->Patterns[0];
    pattern.SetNote(0, 1, cell(40, 1));
    pattern.SetNote(0, 0, cell(60, 1));
    pattern.SetNote(2, 0, cell(62, 1));
    pattern.SetNote(4, 0, cell(64, 1));
    player->WatchedChannel = 0;
    player->Play();
    renderFrames(*player, 5 * kFramesPerRow + 1); // rows 0..5
    ASSERT_EQ(player->NoteLogCount(), 3);
    EXPECT_EQ(player->LoggedNote(0), 59);
    EXPECT_EQ(player->LoggedNote(1), 61);
    EXPECT_EQ(player->LoggedNote(2), 63);
    // Entry 1 was newest during rows 3 and 4 (the row-4 trigger counts before the new note).
    EXPECT_EQ(player->LoggedRows(1), 2);
    EXPECT_EQ(player->LoggedRows(2), 1);
    EXPECT_EQ(player->WatchedNote(), 64);
    EXPECT_EQ(player->TriggerLatchA(), 63);
}

TEST(PlayerControl, LoopingStopsTheLogAfterTheFirstPass)
{
    XmModule spec = simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample(), 4);
    auto player = makePlayer(buildXM(spec));
    player->Play();
    renderFrames(*player, 10 * kFramesPerRow);
    EXPECT_FALSE(player->NoteLogRecording());
    EXPECT_EQ(player->NoteLogCount(), 1);
    EXPECT_EQ(player->TriggerLatchA(), 48); // latches keep working
    EXPECT_TRUE(player->Play());
    EXPECT_TRUE(player->NoteLogRecording());
    EXPECT_EQ(player->NoteLogCount(), 0);
}

TEST(PlayerControl, MixIntoScalesByVolume)
{
    auto player = makePlayer(buildXM(simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample())));
    player->Play();
    player->Render();
    std::vector<int32_t> full(player->Mix.size(), 0), half(player->Mix.size(), 7);
    player->MixInto(full.data(), 4096);
    player->MixInto(half.data(), 2048);
    bool sounded = false;
    for (size_t i = 0; i < full.size(); ++i) {
        EXPECT_EQ(full[i], player->Mix[i] >> 12);
        EXPECT_EQ(half[i], 7 + ((2048 * (player->Mix[i] >> 12)) >> 12));
        sounded |= full[i] != 0;
    }
    EXPECT_TRUE(sounded);

    // 16-bit output: clipped, or else cut to the low 16 bits; 27 values leave a tail after any vector groups.
    player->Mix.resize(27);
    for (int32_t i = 0; i < 27; ++i)
        player->Mix[i] = (i - 13) * 0x08000000 + i * 4096;
    std::vector<int16_t> clipped(27), wrapped(27);
    player->ConvertOutput(clipped.data());
    player->ClipOutput = false;
    player->ConvertOutput(wrapped.data());
    for (int32_t i = 0; i < 27; ++i) {
        EXPECT_EQ(clipped[i], std::clamp(player->Mix[i] >> 12, -32768, 32767)) << i;
        EXPECT_EQ(wrapped[i], static_cast<int16_t>(player->Mix[i] >> 12)) << i;
    }
}

TEST(PlayerControl, PlayOnAnUnloadedModuleReportsFalse)
{
    TVelaXM player;
    EXPECT_FALSE(player.Play());
    EXPECT_TRUE(player.Playing());
    player.Render();
    EXPECT_EQ(player.ActiveVoices(), 0);
}

TEST(PlayerControl, MonoOutputMixesLeftOnly)
{
    // One value per frame at the unpanned volume: twice the right side of the
    // centred stereo voice (2048 of 4096) once the start ramp is over.
    const Bytes image = buildXM(simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample()));
    TVelaXM mono(44100, false, 512), stereo(44100, true, 512);
    for (TVelaXM* player : {&mono, &stereo}) {
        ASSERT_TRUE(player->Module->Load(image.data(), static_cast<uint32_t>(image.size())));
        player->Module->MixAmplification = 256;
        player->Play();
        player->Render();
    }
    ASSERT_EQ(mono.Mix.size(), 512u);
    EXPECT_NE(mono.Mix[300], 0);
    for (size_t i = 128; i < 512; ++i)
        ASSERT_EQ(mono.Mix[i], 2 * stereo.Mix[2 * i + 1]) << i;
}

TEST(PlayerControl, MutedChannelIsSilentAndItsHandedOverVoiceToo)
{
    // Channel 0 plays two notes (the first is handed to the background at row 1), channel 1 one note.
    // With channel 0 muted before Play the mix is channel 1's alone, sample for sample.
    const Bytes both =
        buildXM(simpleModule(2, {{0, 0, cell(49, 1)}, {1, 0, cell(53, 1)}, {0, 1, cell(56, 1)}}, loopedSample()));
    const Bytes alone = buildXM(simpleModule(2, {{0, 1, cell(56, 1)}}, loopedSample()));
    auto muted = makePlayer(both);
    auto reference = makePlayer(alone);
    muted->Module->Channels[0].Muted = true;
    muted->Play();
    reference->Play();
    for (int32_t block = 0; block < 2 * kFramesPerRow / 1024 + 1; ++block) {
        muted->Render();
        reference->Render();
        ASSERT_EQ(muted->Mix, reference->Mix) << "block " << block;
    }
    EXPECT_TRUE(muted->Module->Channels[0].VoiceOn);
    EXPECT_NE(muted->Mix, std::vector<int32_t>(muted->Mix.size(), 0));
}
