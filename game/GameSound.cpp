#include "game/GameSound.h"

#include "DataManager/SoundSlots.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"
#include "game/MusicSource.h"

#include <algorithm>

namespace {

void setNote(TVelaXMPattern& pattern, int32_t row, int32_t note)
{
    TVelaXMPatternNote cell = pattern.GetNote(row, 0);
    cell.Note = note;
    pattern.SetNote(row, 0, cell);
}

} // namespace

TGameSound::TGameSound(TVelaSoundSystem* Sound) : sound_(Sound) {}

void TGameSound::Start(int32_t Source)
{
    if (sound_ == nullptr)
        return;
    const uint8_t slot = SourceSlot(Source);
    switch (SourceKind(Source)) {
    case TSourceKind::Module:
        sound_->EditModule(slot, [](TVelaXM& player) { player.Rewind(); });
        sound_->StartModule(slot);
        break;
    case TSourceKind::Sample:
        PlaySample(slot);
        break;
    case TSourceKind::Stream:
        sound_->PlayMusic(slot, true, 1.0f, 0.0f, 1.0f);
        break;
    case TSourceKind::None:
        break;
    }
}

void TGameSound::Stop(int32_t Source)
{
    if (sound_ == nullptr)
        return;
    const uint8_t slot = SourceSlot(Source);
    switch (SourceKind(Source)) {
    case TSourceKind::Module:
        sound_->EditModule(slot, [](TVelaXM& player) { player.Rewind(); });
        break;
    case TSourceKind::Sample:
        if (sound_->IsSamplePlaying(slot))
            sound_->StopSampleVoice(slot, 0);
        break;
    case TSourceKind::Stream:
        if (sound_->IsMusicPlaying(slot))
            sound_->StopMusic(slot);
        break;
    case TSourceKind::None:
        break;
    }
}

bool TGameSound::Playing(int32_t Source) const
{
    if (sound_ == nullptr)
        return false;
    const uint8_t slot = SourceSlot(Source);
    switch (SourceKind(Source)) {
    case TSourceKind::Module:
        return sound_->IsModulePlaying(slot);
    case TSourceKind::Sample:
        return sound_->IsSamplePlaying(slot);
    case TSourceKind::Stream:
        return sound_->IsMusicPlaying(slot);
    case TSourceKind::None:
        break;
    }
    return false;
}

void TGameSound::PlaySample(uint8_t Slot)
{
    if (sound_ != nullptr)
        sound_->PlaySample(Slot, 1.0f, 0.0f, 1.0f);
}

bool TGameSound::SamplePlaying(uint8_t Slot) const { return sound_ != nullptr && sound_->IsSamplePlaying(Slot); }

void TGameSound::FadeMenuMusic(float Volume)
{
    if (sound_ != nullptr)
        sound_->SetMusicVolume(MusicSlotMenu, Volume);
}

void TGameSound::SetGroupVolumes(float Music, float Effects)
{
    if (sound_ == nullptr)
        return;
    sound_->SetModuleVolume(Music);
    sound_->SetStreamVolume(Music);
    sound_->SetSampleVolume(Effects);
}

void TGameSound::SetPaused(bool Paused)
{
    if (sound_ != nullptr)
        sound_->SetPaused(Paused);
}

TTrackPlayers::TTrackPlayers(TVelaSoundSystem* Sound, int32_t Track) : TGameSound(Sound), track_(Track) {}

uint8_t TTrackPlayers::slotOf(TMelodySource Source) const
{
    return Source == TMelodySource::Song ? SongSlotOf(track_) : PhraseSlotOf(track_);
}

const TVelaXM* TTrackPlayers::playerOf(TMelodySource Source) const
{
    if (sound_ == nullptr || track_ < 0 || track_ >= TrackSlotCount)
        return nullptr;
    return sound_->FindModule(slotOf(Source));
}

const TVelaXM* TTrackPlayers::song() const { return playerOf(TMelodySource::Song); }

const TVelaXM* TTrackPlayers::phrase() const { return playerOf(TMelodySource::Phrase); }

void TTrackPlayers::RewindSong()
{
    if (song() != nullptr)
        sound_->EditModule(SongSlotOf(track_), [](TVelaXM& player) { player.Rewind(); });
}

void TTrackPlayers::WatchSongChannel(int32_t Channel)
{
    if (song() != nullptr)
        sound_->EditModule(SongSlotOf(track_), [Channel](TVelaXM& player) { player.WatchedChannel = Channel; });
}

void TTrackPlayers::StopSongLooping()
{
    if (song() != nullptr)
        sound_->EditModule(SongSlotOf(track_), [](TVelaXM& player) { player.LoopSong = false; });
}

void TTrackPlayers::ReplaceMelody(std::span<const int32_t> Notes, int32_t Rows)
{
    if (song() != nullptr)
        sound_->EditModule(SongSlotOf(track_), [&](TVelaXM& player) { player.ReplaceNoteLog(Notes, Rows); });
}

int32_t TTrackPlayers::MelodyLength() const
{
    const TVelaXM* player = song();
    return player != nullptr ? player->NoteLogCount() : 0;
}

int32_t TTrackPlayers::MelodyNote(int32_t Index) const
{
    const TVelaXM* player = song();
    return player != nullptr ? player->LoggedNote(Index) : 0;
}

bool TTrackPlayers::SongSounding() const
{
    const TVelaXM* player = song();
    return player != nullptr && !(player->SongEnded() && player->ActiveVoices() == 0);
}

void TTrackPlayers::SoundNote(int32_t Value)
{
    if (song() == nullptr || phrase() == nullptr)
        return;
    sound_->EditModule(PhraseSlotOf(track_), [&](TVelaXM& phrasePlayer) {
        // The song's tempo is the audio thread's to change, so it is read under the lock too.
        const TVelaXMModule& songModule = *sound_->FindModule(SongSlotOf(track_))->Module;
        TVelaXMModule& module = *phrasePlayer.Module;
        TVelaXMPatternNote cell;
        cell.Note = std::clamp(Value + 1, TVelaXMPatternNote::kFirstNote, TVelaXMPatternNote::kLastNote);
        cell.Instrument = 1;
        phrasePlayer.Stop();
        module.Patterns[0].SetNote(0, 0, cell);
        TVelaXMPatternNote keyOff = cell;
        keyOff.Note = TVelaXMPatternNote::kKeyOff;
        module.Patterns[0].SetNote(NoteEndRow, 0, keyOff);
        phrasePlayer.LoopSong = false;
        module.DefaultSpeed = songModule.Speed;
        module.DefaultBPM = songModule.BPM;
        phrasePlayer.Play();
        module.Speed = songModule.Speed;
        module.BPM = songModule.BPM;
    });
}

void TTrackPlayers::ClearCells()
{
    if (phrase() == nullptr)
        return;
    sound_->EditModule(PhraseSlotOf(track_), [](TVelaXM& player) {
        for (const int32_t row : {0, NoteEndRow})
            setNote(player.Module->Patterns[0], row, 0);
    });
}

int32_t TTrackPlayers::PhrasePosition() const
{
    const TVelaXM* player = phrase();
    return player != nullptr ? player->SongPosition() : 1 << 30;
}

bool TTrackPlayers::PhraseSilent() const
{
    const TVelaXM* player = phrase();
    return player == nullptr || player->ActiveVoices() == 0;
}

void TTrackPlayers::StopPhrase()
{
    if (phrase() != nullptr)
        sound_->EditModule(PhraseSlotOf(track_), [](TVelaXM& player) { player.Stop(); });
}

void TTrackPlayers::StopBoth()
{
    if (song() != nullptr)
        sound_->EditModule(SongSlotOf(track_), [](TVelaXM& player) { player.Stop(); });
    StopPhrase();
}

int32_t TTrackPlayers::SoundingNote(TMelodySource Source) const
{
    const TVelaXM* player = playerOf(Source);
    return player != nullptr ? player->WatchedNote() : -1;
}

int32_t TTrackPlayers::LightLatch(TMelodySource Source) const
{
    const TVelaXM* player = playerOf(Source);
    return player != nullptr ? player->TriggerLatchA() : -1;
}

void TTrackPlayers::ClearLightLatch(TMelodySource Source, int32_t Seen)
{
    if (playerOf(Source) != nullptr)
        sound_->FindModule(slotOf(Source))->ClearTriggerLatchA(Seen);
}

bool TTrackPlayers::TakeDanceLatch(TMelodySource Source)
{
    return playerOf(Source) != nullptr && sound_->FindModule(slotOf(Source))->TakeTriggerLatchB() >= 0;
}
