#include "game/TrackPlayers.h"

#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"
#include "game/GameState.h"

#include <algorithm>

namespace {

constexpr int32_t KeyOff = 97;

TVelaXM* playerInSlot(TVelaSoundSystem* sound, int32_t slot)
{
    if (sound == nullptr || slot < 0 || slot >= TVelaSoundSystem::SlotCount)
        return nullptr;
    return sound->ModuleSlots[size_t(slot)].get();
}

void setNote(TVelaXMPattern& pattern, int32_t row, int32_t note)
{
    TVelaXMPatternNote cell = pattern.GetNote(row, 0);
    cell.Note = note;
    pattern.SetNote(row, 0, cell);
}

} // namespace

TTrackPlayers::TTrackPlayers(TVelaSoundSystem* Sound, int32_t Track) : sound_(Sound), track_(Track) {}

TVelaXM* TTrackPlayers::Song() const { return playerInSlot(sound_, track_); }

TVelaXM* TTrackPlayers::Phrase() const { return playerInSlot(sound_, track_ + PhraseSlotOffset); }

TVelaXM* TTrackPlayers::playerOf(TMelodySource Source) const
{
    return Source == TMelodySource::Song ? Song() : Phrase();
}

void TTrackPlayers::RewindSong()
{
    if (TVelaXM* song = Song()) {
        TVelaLockGuard guard(sound_->Lock);
        song->Module->Restart();
        song->Playing = false;
    }
}

void TTrackPlayers::WatchSongChannel(int32_t Channel)
{
    if (TVelaXM* song = Song()) {
        TVelaLockGuard guard(sound_->Lock);
        song->WatchedChannel = Channel;
    }
}

void TTrackPlayers::StopSongLooping()
{
    if (TVelaXM* song = Song()) {
        TVelaLockGuard guard(sound_->Lock);
        song->LoopSong = false;
    }
}

void TTrackPlayers::ReplaceMelody(std::span<const int32_t> Notes, int32_t Rows)
{
    TVelaXM* song = Song();
    if (song == nullptr)
        return;
    TVelaLockGuard guard(sound_->Lock);
    const size_t count = std::min(Notes.size(), size_t(TVelaXM::kNoteLogSize));
    song->NoteLogCount = int32_t(count);
    song->NoteLogLast = 0;
    song->NoteLogEnabled = false;
    for (size_t i = 0; i < count; ++i) {
        song->NoteLog[TVelaXM::kLogNote][i] = Notes[i];
        song->NoteLog[TVelaXM::kLogRows][i] = Rows;
    }
}

int32_t TTrackPlayers::MelodyLength() const
{
    const TVelaXM* song = Song();
    return song != nullptr ? song->NoteLogCount.Load() : 0;
}

int32_t TTrackPlayers::MelodyNote(int32_t Index) const
{
    const TVelaXM* song = Song();
    if (song == nullptr || Index < 0 || Index >= song->NoteLogCount)
        return 0;
    return song->NoteLog[TVelaXM::kLogNote][size_t(Index)];
}

bool TTrackPlayers::SongSounding() const
{
    const TVelaXM* song = Song();
    return song != nullptr && !(song->Module->SongEnded && song->ActiveVoices == 0);
}

void TTrackPlayers::SoundNote(int32_t Value)
{
    TVelaXM* phrase = Phrase();
    const TVelaXM* song = Song();
    if (phrase == nullptr || song == nullptr)
        return;
    TVelaLockGuard guard(sound_->Lock);
    TVelaXMModule& module = *phrase->Module;
    TVelaXMPatternNote cell;
    cell.Note = std::clamp(Value + 1, 1, 96);
    cell.Instrument = 1;
    phrase->Stop();
    module.Patterns[0].SetNote(0, 0, cell);
    TVelaXMPatternNote keyOff = cell;
    keyOff.Note = KeyOff;
    module.Patterns[0].SetNote(NoteEndRow, 0, keyOff);
    phrase->LoopSong = false;
    module.DefaultSpeed = song->Module->Speed;
    module.DefaultBPM = song->Module->BPM;
    phrase->Play();
    module.Speed = song->Module->Speed;
    module.BPM = song->Module->BPM;
}

void TTrackPlayers::ClearCells()
{
    TVelaXM* phrase = Phrase();
    if (phrase == nullptr)
        return;
    TVelaLockGuard guard(sound_->Lock);
    for (const int32_t row : {0, NoteEndRow})
        setNote(phrase->Module->Patterns[0], row, 0);
}

int32_t TTrackPlayers::PhrasePosition() const
{
    const TVelaXM* phrase = Phrase();
    if (phrase == nullptr)
        return 1 << 30;
    return phrase->Module->CurrentOrder * 256 + phrase->Module->CurrentRow;
}

bool TTrackPlayers::PhraseSilent() const
{
    const TVelaXM* phrase = Phrase();
    return phrase == nullptr || phrase->ActiveVoices == 0;
}

void TTrackPlayers::StopPhrase()
{
    if (TVelaXM* phrase = Phrase()) {
        TVelaLockGuard guard(sound_->Lock);
        phrase->Stop();
    }
}

void TTrackPlayers::StopBoth()
{
    if (sound_ == nullptr)
        return;
    TVelaLockGuard guard(sound_->Lock);
    for (TVelaXM* player : {Song(), Phrase()})
        if (player != nullptr)
            player->Stop();
}

int32_t TTrackPlayers::SoundingNote(TMelodySource Source) const
{
    const TVelaXM* player = playerOf(Source);
    return player != nullptr ? player->WatchedNote.Load() : -1;
}

bool TTrackPlayers::LightLatchSet(TMelodySource Source) const
{
    const TVelaXM* player = playerOf(Source);
    return player != nullptr && player->TriggerLatchA >= 0;
}

void TTrackPlayers::ClearLightLatch(TMelodySource Source)
{
    if (TVelaXM* player = playerOf(Source)) {
        TVelaLockGuard guard(sound_->Lock);
        player->TriggerLatchA = -1;
    }
}

bool TTrackPlayers::TakeDanceLatch(TMelodySource Source)
{
    TVelaXM* player = playerOf(Source);
    if (player == nullptr || player->TriggerLatchB < 0)
        return false;
    TVelaLockGuard guard(sound_->Lock);
    player->TriggerLatchB = -1;
    return true;
}
