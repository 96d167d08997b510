#include "VelaXM/VelaXM.h"

#include "VelaXM/MixKernelSets.h"
#include "VelaXM/VoiceMix.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TVelaXM::TVelaXM(int32_t Rate, bool Stereo, int32_t Frames)
    : SampleRate(Rate <= 0 ? 44100 : Rate), OutputChannels(Stereo ? 2 : 1), BufferFrames(std::max(Frames, 1)),
      Tables(SampleRate)
{
    Module = std::make_unique<TVelaXMModule>(SampleRate, static_cast<TVelaXMModuleListener*>(this), &Tables);
    Module->MixAmplification = 128;
    Module->OutputChannels = OutputChannels;
    Module->PatternRampLength = static_cast<int32_t>(static_cast<int64_t>(SampleRate) * 128 / 44100);
    Module->BackgroundRampLength = Module->PatternRampLength;
    Mix.assign(static_cast<size_t>(BufferFrames) * OutputChannels, 0);
    auto* log = static_cast<int32_t*>(noteLogPages_.Data());
    loggedNotes_ = std::span<int32_t>(log, kNoteLogSize);
    loggedRows_ = std::span<int32_t>(log + kNoteLogSize, kNoteLogSize);
    SamplesPerTick = Module->ComputeSamplesPerTick();
    // The processor's mix routines are chosen here, so never first on the audio thread.
    velaxm::activeMixRoutines();
}

TVelaXM::~TVelaXM() = default;

bool TVelaXM::Play()
{
    Module->Restart();
    SamplesPerTick = std::max(Module->ComputeSamplesPerTick(), 1);
    TickRemaining = 0;
    activeVoices_.Store(0);
    soundingNote_ = -1;
    watchedNote_.Store(-1);
    latchA_.Store(-1);
    latchB_.Store(-1);
    noteLogCount_.Store(0);
    noteLogLast_ = 0;
    noteLogEnabled_ = true;
    publishPosition();
    playing_.Store(true);
    return Module->Loaded;
}

void TVelaXM::Stop() { playing_.Store(false); }

void TVelaXM::Rewind()
{
    playing_.Store(false);
    Module->Restart();
    publishPosition();
}

void TVelaXM::publishPosition()
{
    songPosition_.Store(Module->CurrentOrder * 256 + Module->CurrentRow);
    songEnded_.Store(Module->SongEnded);
}

void TVelaXM::Render()
{
    std::fill(Mix.begin(), Mix.end(), 0);
    if (!playing_.Load())
        return;
    soundingNote_ = -1;
    int32_t done = 0;
    while (done < BufferFrames) {
        if (TickRemaining == 0) {
            Module->ProcessTick();
            publishPosition();
            // A tick never shorter than one frame, so that every round makes progress.
            SamplesPerTick = std::max(Module->ComputeSamplesPerTick(), 1);
            TickRemaining = SamplesPerTick;
        }
        const int32_t n = std::min(TickRemaining, BufferFrames - done);
        mixSlice(done, n);
        TickRemaining -= n;
        done += n;
    }
    watchedNote_.Store(soundingNote_);
}

void TVelaXM::mixSlice(int32_t offset, int32_t frames)
{
    const velaxm::MixTarget target{Mix.data(), OutputChannels, Interpolation, &Tables};
    TVelaXMModule& module = *Module;
    // Counted here and published once: the game reads the count without the
    // lock and must never see the zero of a count in progress.
    int32_t active = 0;
    for (int32_t i = 0; i < module.NumChannels; ++i) {
        TVelaXMChannel& ch = module.Channels[i];
        if (ch.VoiceOn)
            ++active;
        velaxm::mixVoice(module, ch, target, offset, frames);
        if (Watches(i) && ch.VoiceOn && !ch.Released && ch.ReportedNote > 0)
            soundingNote_ = ch.ReportedNote;
    }
    for (auto* bank : {&module.BackgroundChannels, &module.ReserveChannels}) {
        for (TVelaXMChannel& ch : *bank) {
            if (!ch.VoiceOn)
                continue;
            ++active;
            velaxm::mixVoice(module, ch, target, offset, frames);
        }
    }
    if (velaxm::mixClickRemoval(module, target, offset, frames))
        ++active;
    activeVoices_.Store(active);
}

void TVelaXM::MixInto(int32_t* Target, int32_t Volume) const
{
    const size_t count = Mix.size();
    if (Volume == 4096) {
        for (size_t i = 0; i < count; ++i)
            Target[i] += Mix[i] >> 12;
    } else {
        for (size_t i = 0; i < count; ++i)
            Target[i] += static_cast<int32_t>((static_cast<int64_t>(Volume) * (Mix[i] >> 12)) >> 12);
    }
}

void TVelaXM::ConvertOutput(int16_t* Target) const
{
    const size_t count = Mix.size();
    const int32_t* mix = Mix.data();
    size_t i = 0;
    if (ClipOutput) {
#if defined(__SSE2__)
        // Packing with signed saturation is exactly the clip to 16 bits.
        for (; i + 8 <= count; i += 8) {
            const __m128i low = _mm_srai_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mix + i)), 12);
            const __m128i high = _mm_srai_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mix + i + 4)), 12);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Target + i), _mm_packs_epi32(low, high));
        }
#endif
        for (; i < count; ++i)
            Target[i] = static_cast<int16_t>(std::clamp(mix[i] >> 12, -32768, 32767));
    } else {
        for (; i < count; ++i)
            Target[i] = static_cast<int16_t>(mix[i] >> 12);
    }
}

namespace {

// A note-log entry: the game may read one while a restarted song writes it
// again, so each is read and written as a single atomic value. The count's
// release and acquire still order a new entry before the count that shows it.
// (The compilers' atomic built-ins, since not every standard library here has std::atomic_ref.)
int32_t readEntry(const int32_t& entry) { return __atomic_load_n(&entry, __ATOMIC_RELAXED); }

void writeEntry(int32_t& entry, int32_t value) { __atomic_store_n(&entry, value, __ATOMIC_RELAXED); }

} // namespace

void TVelaXM::NoteStarted(int32_t Channel, int32_t Note)
{
    if (!Watches(Channel))
        return;
    const int32_t count = noteLogCount_.Load();
    if (noteLogEnabled_ && count < kNoteLogSize) {
        writeEntry(loggedNotes_[size_t(count)], Note - 1);
        writeEntry(loggedRows_[size_t(count)], 0);
        noteLogLast_ = count;
        // Published after its entry, so that a reader that sees the count sees the note.
        noteLogCount_.Store(count + 1);
    }
    latchA_.Store(Note - 1);
    latchB_.Store(Note - 1);
}

void TVelaXM::KeyOff(int32_t Channel)
{
    if (Watches(Channel))
        soundingNote_ = -1;
}

void TVelaXM::RowTriggered(int32_t Channel)
{
    if (Watches(Channel) && noteLogEnabled_ && noteLogLast_ > 0 && soundingNote_ >= 0)
        writeEntry(loggedRows_[size_t(noteLogLast_)], readEntry(loggedRows_[size_t(noteLogLast_)]) + 1);
}

void TVelaXM::ReplaceNoteLog(std::span<const int32_t> Notes, int32_t Rows)
{
    const size_t count = std::min(Notes.size(), size_t(kNoteLogSize));
    for (size_t i = 0; i < count; ++i) {
        writeEntry(loggedNotes_[i], Notes[i]);
        writeEntry(loggedRows_[i], Rows);
    }
    noteLogLast_ = 0;
    noteLogEnabled_ = false;
    noteLogCount_.Store(int32_t(count));
}

int32_t TVelaXM::LoggedNote(int32_t Index) const
{
    return Index >= 0 && Index < noteLogCount_.Load() ? readEntry(loggedNotes_[size_t(Index)]) : 0;
}

int32_t TVelaXM::LoggedRows(int32_t Index) const
{
    return Index >= 0 && Index < noteLogCount_.Load() ? readEntry(loggedRows_[size_t(Index)]) : 0;
}
