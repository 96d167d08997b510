#include "VelaXM/Effects.h"

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

bool TVelaXMModule::repeatsDone() const
{
    return Listener != nullptr && Listener->RepeatLimit() > 0 && Repeats >= Listener->RepeatLimit();
}

bool TVelaXMModule::countRepeat()
{
    Repeats = Repeats + 1;
    playedRows_.reset();
    if (!repeatsDone())
        return false;
    SongEnded = true;
    return true;
}

size_t TVelaXMModule::playedBit(int32_t Order, int32_t Row)
{
    if (Order < 0 || Order >= 256 || Row < 0 || Row >= kTrackedRows)
        return kUntracked;
    return static_cast<size_t>(Order) * kTrackedRows + static_cast<size_t>(Row);
}

bool TVelaXMModule::rowPlayed(int32_t Order, int32_t Row) const
{
    const size_t bit = playedBit(Order, Row);
    return bit == kUntracked || playedRows_.test(bit); // beyond what is remembered: the song ends
}

bool TVelaXMModule::markPlayed()
{
    const size_t bit = playedBit(CurrentOrder, CurrentRow);
    if (bit == kUntracked)
        return false;
    const bool played = playedRows_.test(bit);
    playedRows_.set(bit);
    return played;
}

void TVelaXMModule::ForgetPlayedRows(int32_t Order, int32_t FromRow, int32_t ToRow)
{
    for (int32_t row = std::max(FromRow, 0); row <= std::min(ToRow, kTrackedRows - 1); ++row)
        if (const size_t bit = playedBit(Order, row); bit != kUntracked)
            playedRows_.reset(bit);
}

bool TVelaXMModule::findNextRow()
{
    const int32_t length = playableLength(*this);
    const bool loopSong = Listener == nullptr || Listener->LoopsSong();
    if (repeatsDone()) {
        SongEnded = true;
        return false;
    }
    // Every order position is visited at most twice (once before and once after a
    // wrap); a song without a playable row ends instead of searching forever.
    for (int32_t visits = 0; visits <= 2 * 256 + 2; ++visits) {
        if (CurrentOrder >= length) {
            // A restart position past the end would wrap forever; it restarts the song instead.
            // A pattern break on the last order keeps its row: it leads into the restart pattern.
            const int32_t restart = RestartPosition < length ? RestartPosition : 0;
            // Rows not played yet still belong to this pass; coming back to played ones ends it.
            if (length > 0 && !rowPlayed(restart, CurrentRow)) {
                CurrentOrder = restart;
                continue;
            }
            if (!loopSong) {
                SongEnded = true;
                return false;
            }
            if (countRepeat())
                return false;
            SongEnded = false;
            CurrentOrder = restart;
            if (Listener != nullptr)
                Listener->SongWrapped();
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
    bool playable = findNextRow();
    // Coming back to a row already played (a jump back) ends a pass too.
    if (playable && markPlayed()) {
        playable = !countRepeat();
        if (playable)
            markPlayed();
    }
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
