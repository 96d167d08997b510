#include "VelaXM/Effects.h"

#include "VelaXM/VelaXM.h"
#include <algorithm>

namespace {

// Order positions that can be played: the list holds 256 entries whatever the header claims.
int32_t playableLength(const TVelaXMModule& module) { return std::clamp(module.SongLength, 0, 256); }

} // namespace

void TVelaXMModule::ProcessTick()
{
    ++Tick;
    if (Tick < Speed * (PatternDelay + 1)) {
        for (int32_t i = 0; i < NumChannels; ++i) {
            Channels[i].Tick = Tick;
            velaxm::runTickEffects(*this, Channels[i]);
        }
        // A silent background or reserve channel is overwritten whole by the
        // next hand-over, so its state need not be kept up to date.
        for (auto* bank : {&BackgroundChannels, &ReserveChannels})
            for (TVelaXMChannel& ch : *bank)
                if (ch.VoiceOn)
                    velaxm::runTickEffects(*this, ch);
    } else {
        startRow();
    }
    for (int32_t i = 0; i < NumChannels; ++i)
        velaxm::updateChannel(*this, Channels[i]);
    for (auto* bank : {&BackgroundChannels, &ReserveChannels})
        for (TVelaXMChannel& ch : *bank)
            if (ch.VoiceOn)
                velaxm::updateChannel(*this, ch);
}

bool TVelaXMModule::findNextRow()
{
    const int32_t length = playableLength(*this);
    const bool loopSong = Player == nullptr || Player->LoopSong;
    // Every order position is visited at most twice (once before and once after a
    // wrap); a song without a playable row ends instead of searching forever.
    for (int32_t visits = 0; visits <= 2 * 256 + 2; ++visits) {
        if (CurrentOrder >= length) {
            if (!loopSong) {
                SongEnded = true;
                return false;
            }
            SongEnded = false;
            // A restart position past the end would wrap forever; it restarts the song instead.
            CurrentOrder = RestartPosition < length ? RestartPosition : 0;
            CurrentRow = 0;
            if (Player != nullptr)
                Player->NoteLogEnabled = false;
            if (CurrentOrder == 0) {
                GlobalVolume = 64;
                Speed = DefaultSpeed;
                BPM = DefaultBPM;
                for (int32_t i = 0; i < NumChannels; ++i)
                    Channels[i].FullReset();
            }
        }
        if (CurrentRow >= 0 && CurrentRow < Patterns[Orders[CurrentOrder]].Rows)
            return true;
        ++CurrentOrder;
        CurrentRow = 0;
    }
    SongEnded = true;
    return false;
}

void TVelaXMModule::startRow()
{
    Tick = 0;
    PatternDelay = 0;
    JumpOrder = 0;
    JumpRow = 0;
    JumpPending = false;
    const bool playable = findNextRow();
    if (CurrentOrder < 256)
        CurrentPattern = Orders[CurrentOrder];
    PlayedOrder = CurrentOrder;
    PlayedRow = CurrentRow;
    const TVelaXMPattern& pattern = Patterns[CurrentPattern];
    for (int32_t i = 0; i < NumChannels; ++i) {
        TVelaXMChannel& ch = Channels[i];
        ch.Tick = 0;
        ch.Cell = playable ? pattern.GetNote(CurrentRow, i) : TVelaXMPatternNote{};
        velaxm::runRowEffects(*this, ch);
    }
    if (JumpPending) {
        CurrentOrder = JumpOrder;
        CurrentRow = JumpRow;
    } else if (CurrentRow < INT32_MAX) {
        ++CurrentRow;
    }
}
