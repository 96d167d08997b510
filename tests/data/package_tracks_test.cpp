// The track modules, loaded and played with the game's own module player the
// way the melody game uses them: the full module once to record the melody,
// the melody-less copy one note at a time.
#include "ShippedPackage.h"

#include "VelaXM/VelaXM.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 1024;
constexpr int32_t kNoteOff = 97;

struct Track {
    const char* stem;
    size_t notes; // length of the melody; 0 where the game supplies or does not need one
};
// Tracks 0 to 4 grow in length; the second Other World melody ships unused.
const Track MelodyTracks[] = {{"2012_skyward_nobass", 12}, {"2012_halcyon_verse", 16},    {"2012_labyrinth", 20},
                              {"2012_commontheme", 24},    {"2012_otherworld_melo1", 28}, {"2012_otherworld_melo2", 0}};

std::unique_ptr<TVelaXM> loadPlayer(const std::string& name)
{
    auto player = std::make_unique<TVelaXM>(kRate, true, kBlock);
    const std::span<const uint8_t> bytes = ShippedEntry(name);
    EXPECT_TRUE(player->Module->Load(bytes.data(), static_cast<uint32_t>(bytes.size()))) << name;
    return player;
}

int32_t instrumentCount(const TVelaXMModule& module)
{
    return static_cast<int32_t>(std::count_if(module.Instruments.begin(), module.Instruments.end(),
                                              [](const auto& ins) { return ins != nullptr; }));
}

// Notes 1..96 of every cell, order by order, row by row, channel by channel.
std::vector<int32_t> writtenNotes(const TVelaXMModule& module, int32_t onlyChannel = -1)
{
    std::vector<int32_t> notes;
    for (int32_t order = 0; order < module.SongLength; ++order) {
        const TVelaXMPattern& pattern = module.Patterns[module.Orders[order]];
        for (int32_t row = 0; row < pattern.Rows; ++row)
            for (int32_t ch = 0; ch < module.NumChannels; ++ch) {
                const int32_t note = pattern.GetNote(row, ch).Note;
                if (note >= 1 && note <= 96 && (onlyChannel < 0 || ch == onlyChannel))
                    notes.push_back(note);
            }
    }
    return notes;
}

struct PlayedOnce {
    std::vector<int32_t> log;  // note - 1 per recorded note
    double songSeconds = -1;   // when SongEnded was first seen
    double silentSeconds = -1; // when the voices had ended after that
    int32_t peak = 0;          // largest output value, 16-bit scale
};

// The loudest a module may get at the game's amplification: headroom is left for
// the speech and effects that the sound system mixes on top.
constexpr int32_t kModulePeakLimit = 32768 * 9 / 10;

// Plays a full module once, as the listening phase does, until the song has
// ended and its voices are silent (or a generous limit runs out).
PlayedOnce playOnce(TVelaXM& player, int32_t watchedChannel, double limitSeconds)
{
    player.WatchedChannel = watchedChannel;
    player.LoopSong = false;
    player.Interpolation = velaxm::kCubic;
    player.Module->MixAmplification = 256; // as the sound system sets after loading
    player.Play();
    PlayedOnce result;
    const int64_t limit = static_cast<int64_t>(limitSeconds * kRate);
    for (int64_t frames = 0; frames < limit; frames += kBlock) {
        player.Render();
        for (int32_t v : player.Mix)
            result.peak = std::max(result.peak, std::abs(v >> 12));
        if (player.Module->SongEnded && result.songSeconds < 0)
            result.songSeconds = static_cast<double>(frames + kBlock) / kRate;
        if (player.Module->SongEnded && player.ActiveVoices() == 0) {
            result.silentSeconds = static_cast<double>(frames + kBlock) / kRate;
            break;
        }
    }
    for (int32_t i = 0; i < player.NoteLogCount(); ++i)
        result.log.push_back(player.LoggedNote(i));
    return result;
}

// Sounds one note on the melody-less module exactly as the game's computer and
// player turns do (note at row 0, key-off at row 8, channel 0 of pattern 0, the
// full module's speed and tempo) and returns the seconds from the key-off until
// the player reports no active voice; -1 if it never falls silent.
double voiceEndAfterKeyOff(TVelaXM& phrase, const TVelaXMModule& full, int32_t note)
{
    TVelaXMModule& module = *phrase.Module;
    phrase.Stop();
    TVelaXMPatternNote cell;
    cell.Note = note;
    cell.Instrument = 1;
    module.Patterns[0].SetNote(0, 0, cell);
    cell.Note = kNoteOff;
    module.Patterns[0].SetNote(8, 0, cell);
    phrase.LoopSong = false;
    phrase.Interpolation = velaxm::kCubic;
    module.JumpOrder = 0;
    module.JumpRow = 0;
    module.DefaultSpeed = full.Speed;
    module.DefaultBPM = full.BPM;
    phrase.Play();
    module.Speed = full.Speed;
    module.BPM = full.BPM;
    const int64_t keyOff = int64_t{8} * full.Speed * module.ComputeSamplesPerTick();
    bool sounded = false;
    double end = -1;
    for (int64_t frames = 0; frames < 10 * kRate; frames += kBlock) {
        phrase.Render();
        sounded = sounded || phrase.WatchedNote() == note;
        if (frames + kBlock > keyOff && phrase.ActiveVoices() == 0) {
            end = static_cast<double>(frames + kBlock - keyOff) / kRate;
            break;
        }
    }
    EXPECT_TRUE(sounded) << "note " << note << " never sounded";
    cell.Note = 0;
    module.Patterns[0].SetNote(0, 0, cell);
    module.Patterns[0].SetNote(8, 0, cell);
    return end;
}

// Every note a phrase can ask for: each melody note, and the nearest note of every
// other tab below or above it, which a wrong answer sounds.
std::vector<int32_t> phraseNotes(const std::vector<int32_t>& melody)
{
    std::vector<int32_t> notes;
    for (int32_t n : melody)
        for (int32_t offset = -3; offset <= 3; ++offset)
            if (n + offset >= 1 && n + offset <= 96)
                notes.push_back(n + offset);
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    return notes;
}

int32_t tabOf(int32_t note) { return (note * 3) & 3; }

void expectPhraseModuleShape(const TVelaXMModule& module)
{
    ASSERT_GE(module.SongLength, 1);
    EXPECT_EQ(module.Orders[0], 0);
    ASSERT_GE(module.Patterns[0].Rows, 10);
    ASSERT_NE(module.Instruments[1], nullptr);
    // The game writes rows 0 and 8 of channel 0; anything else there would play along.
    for (int32_t row = 0; row <= 9; ++row)
        EXPECT_EQ(module.Patterns[0].GetNote(row, 0).Note, 0) << "row " << row;
}

void expectSameInstrument(const TVelaXMInstrument& a, const TVelaXMInstrument& b)
{
    EXPECT_EQ(a.Fadeout, b.Fadeout);
    EXPECT_EQ(a.VolumeEnvelope.Enabled, b.VolumeEnvelope.Enabled);
    EXPECT_EQ(a.VolumeEnvelope.NumPoints, b.VolumeEnvelope.NumPoints);
    EXPECT_EQ(a.SampleMap, b.SampleMap);
    for (size_t s = 0; s < a.Samples.size(); ++s) {
        ASSERT_EQ(a.Samples[s] == nullptr, b.Samples[s] == nullptr);
        if (a.Samples[s] == nullptr)
            continue;
        EXPECT_EQ(a.Samples[s]->Data, b.Samples[s]->Data);
        EXPECT_EQ(a.Samples[s]->RelativeNote, b.Samples[s]->RelativeNote);
        EXPECT_EQ(a.Samples[s]->Finetune, b.Samples[s]->Finetune);
        EXPECT_EQ(a.Samples[s]->Volume, b.Samples[s]->Volume);
    }
}

} // namespace

TEST(DataTracks, EveryModuleLoads)
{
    for (const DataFileEntry& entry : ShippedPackage()) {
        const std::string name = entry.name;
        if (name.size() > 3 && name.compare(name.size() - 3, 3, ".xm") == 0) {
            const std::unique_ptr<TVelaXM> player = loadPlayer(name);
            EXPECT_TRUE(player->Module->Loaded) << name;
            EXPECT_GE(instrumentCount(*player->Module), 1) << name;
        }
    }
}

TEST(DataTracks, MelodyTracksRecordExactlyTheirMelodyWhenPlayedOnce)
{
    for (const Track& track : MelodyTracks) {
        SCOPED_TRACE(track.stem);
        const std::unique_ptr<TVelaXM> full = loadPlayer(std::string(track.stem) + ".xm");
        const std::unique_ptr<TVelaXM> empty = loadPlayer(std::string(track.stem) + "_empty.xm");
        for (const TVelaXMModule* module : {full->Module.get(), empty->Module.get()}) {
            EXPECT_EQ(instrumentCount(*module), 1);
            EXPECT_TRUE(module->LinearFrequencies);
            EXPECT_EQ(module->DefaultSpeed, 1);
            for (int32_t order = 0; order < module->SongLength; ++order)
                EXPECT_EQ(module->Patterns[module->Orders[order]].Rows, 256);
        }
        ASSERT_NE(full->Module->Instruments[1], nullptr);
        expectPhraseModuleShape(*empty->Module);
        expectSameInstrument(*full->Module->Instruments[1], *empty->Module->Instruments[1]);
        EXPECT_TRUE(writtenNotes(*empty->Module).empty()) << "the melody-less copy holds notes";

        const std::vector<int32_t> melody = writtenNotes(*full->Module);
        if (track.notes != 0) {
            EXPECT_EQ(melody.size(), track.notes);
        }
        const PlayedOnce played = playOnce(*full, -1, 120);
        ASSERT_EQ(played.log.size(), melody.size());
        for (size_t i = 0; i < melody.size(); ++i)
            EXPECT_EQ(played.log[i], melody[i] - 1) << "note " << i;
        // The listening phase waits for the song to end and its voices to stop.
        ASSERT_GT(played.silentSeconds, 0);
        EXPECT_LT(played.silentSeconds - played.songSeconds, 1.0);
        EXPECT_LT(played.peak, kModulePeakLimit);

        // All four tabs, and never more than two notes in a row on one of them.
        int32_t tabs[4] = {};
        size_t run = 1;
        for (size_t i = 0; i < melody.size(); ++i) {
            ++tabs[tabOf(melody[i])];
            run = i > 0 && tabOf(melody[i]) == tabOf(melody[i - 1]) ? run + 1 : 1;
            EXPECT_LE(run, 2u) << "at note " << i;
        }
        for (int32_t tab = 0; tab < 4; ++tab)
            EXPECT_GT(tabs[tab], 0) << "tab " << tab;
    }
}

TEST(DataTracks, EveryPhraseNoteEndsSoonAfterItsKeyOff)
{
    for (const Track& track : MelodyTracks) {
        SCOPED_TRACE(track.stem);
        const std::unique_ptr<TVelaXM> full = loadPlayer(std::string(track.stem) + ".xm");
        const std::unique_ptr<TVelaXM> phrase = loadPlayer(std::string(track.stem) + "_empty.xm");
        const std::vector<int32_t> melody = writtenNotes(*full->Module);
        playOnce(*full, -1, 120); // the game sounds the phrase at the speed the track ended with
        for (int32_t note : phraseNotes(melody)) {
            const double end = voiceEndAfterKeyOff(*phrase, *full->Module, note);
            EXPECT_GE(end, 0) << "note " << note;
            EXPECT_LT(end, 1.0) << "note " << note;
        }
    }
}

TEST(DataTracks, RandomTrackIsEmptyAndItsBellEndsAfterEachKeyOff)
{
    const std::unique_ptr<TVelaXM> full = loadPlayer("random.xm");
    const std::unique_ptr<TVelaXM> phrase = loadPlayer("random_empty.xm");
    for (const TVelaXMModule* module : {full->Module.get(), phrase->Module.get()}) {
        EXPECT_EQ(instrumentCount(*module), 1);
        EXPECT_TRUE(module->LinearFrequencies);
        EXPECT_EQ(module->DefaultSpeed, 1);
        EXPECT_TRUE(writtenNotes(*module).empty());
    }
    expectPhraseModuleShape(*phrase->Module);
    // The drawn melody uses 0-based values 48, 51, 54 and 57; cells hold them plus one.
    const std::vector<int32_t> drawn = {49, 52, 55, 58};
    for (int32_t note : phraseNotes(drawn)) {
        const double end = voiceEndAfterKeyOff(*phrase, *full->Module, note);
        EXPECT_GE(end, 0) << "note " << note;
        EXPECT_LT(end, 1.0) << "note " << note;
    }
}

TEST(DataTracks, BonusSongPlaysOnceAndDrivesTheFiguresFromChannelOne)
{
    const std::unique_ptr<TVelaXM> full = loadPlayer("c64rolld.xm");
    const std::unique_ptr<TVelaXM> phrase = loadPlayer("c64rolld_empty.xm");
    expectPhraseModuleShape(*phrase->Module);
    const std::vector<int32_t> lead = writtenNotes(*full->Module, 1);
    EXPECT_GT(full->Module->NumChannels, 2);
    EXPECT_GT(writtenNotes(*full->Module).size(), lead.size()); // drums, bass and chords besides the lead
    const PlayedOnce played = playOnce(*full, 1, 200);
    ASSERT_FALSE(played.log.empty());
    EXPECT_EQ(played.log.size(), lead.size());
    EXPECT_GE(played.songSeconds, 40);
    EXPECT_LE(played.songSeconds, 90);
    ASSERT_GT(played.silentSeconds, 0) << "voices still sound after the song";
    EXPECT_LT(played.silentSeconds - played.songSeconds, 3.0);
    EXPECT_LT(played.peak, kModulePeakLimit);
}
