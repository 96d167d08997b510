#include "VelaSoundSystem/Sample.h"

#include <cstring>

#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/SoundSystem.h"

TVSSSample::~TVSSSample() = default;

void TVSSSample::SetVoiceCount(int32_t Count)
{
    Voices.clear();
    const int32_t count =
        Count < 0 ? 0 : (Count > TVelaSoundSystem::MaxVoicesPerSample ? TVelaSoundSystem::MaxVoicesPerSample : Count);
    Voices.reserve(count);
    for (int32_t i = 0; i < count; ++i) {
        Voices.push_back(std::make_unique<TVSSSampleVoice>(this));
    }
}

bool TVSSSample::Load(const uint8_t* Bytes, int32_t Size)
{
    if (Bytes == nullptr || Size <= 3) {
        return false;
    }
    TVSSDecodedSample decoded;
    bool ok = false;
    if (std::memcmp(Bytes, "OggS", 4) == 0) {
        ok = DecodeOggSample(Bytes, Size, decoded);
    } else if (std::memcmp(Bytes, "RIFF", 4) == 0) {
        ok = DecodeWaveSample(Bytes, Size, decoded);
    }
    if (!ok) {
        return false;
    }
    takeFrames(decoded);
    prepareGuardFrames();
    return true;
}

namespace {

// A loop must lie inside the data: its end is held to the last frame and a
// loop left without length is switched off. Corrupt "smpl" chunks cannot make
// the voice read outside the guarded storage this way.
void fitLoop(int32_t& Mode, int32_t& Start, int32_t& End, int32_t Length)
{
    const uint32_t start = static_cast<uint32_t>(Start);
    uint32_t end = static_cast<uint32_t>(End);
    if (end > static_cast<uint32_t>(Length)) {
        end = static_cast<uint32_t>(Length);
    }
    if (Mode == LoopNone || start >= end) {
        Mode = LoopNone;
        return;
    }
    Start = static_cast<int32_t>(start);
    End = static_cast<int32_t>(end);
}

} // namespace

void TVSSSample::takeFrames(TVSSDecodedSample& Decoded)
{
    const int64_t frames = static_cast<int64_t>(Decoded.Frames.size() / 2);
    Length = static_cast<int32_t>(frames);
    SampleRate = Decoded.SampleRate;
    storage_.reset(new int32_t[(frames + 2 * GuardFrames) * 2]());
    Data = storage_.get() + 2 * GuardFrames;
    if (frames > 0) {
        std::memcpy(Data, Decoded.Frames.data(), frames * 2 * sizeof(int32_t));
    }
    LoopMode = Decoded.LoopMode;
    LoopStart = Decoded.LoopStart;
    LoopEnd = Decoded.LoopEnd;
    SustainMode = Decoded.SustainMode;
    SustainStart = Decoded.SustainStart;
    SustainEnd = Decoded.SustainEnd;
    fitLoop(LoopMode, LoopStart, LoopEnd, Length);
    fitLoop(SustainMode, SustainStart, SustainEnd, Length);
}

void TVSSSample::prepareGuardFrames()
{
    // Reads before frame 0 and after the last frame see the edge frames held.
    for (int32_t i = 0; i < GuardFrames; ++i) {
        Data[2 * (-1 - i)] = Data[0];
        Data[2 * (-1 - i) + 1] = Data[1];
        Data[2 * (Length + i)] = Data[2 * (Length - 1)];
        Data[2 * (Length + i) + 1] = Data[2 * (Length - 1) + 1];
    }
    // Behind a forward or backward loop lie copies of its beginning, so the
    // interpolation across the loop end reads the frames that follow in play.
    // Frame by frame and ascending, so a loop shorter than the guard repeats.
    const int32_t modes[2] = {LoopMode, SustainMode};
    const int32_t starts[2] = {LoopStart, SustainStart};
    const int32_t ends[2] = {LoopEnd, SustainEnd};
    for (int k = 0; k < 2; ++k) {
        if ((modes[k] == LoopForward || modes[k] == LoopBackward) && starts[k] > 0 && ends[k] > 0 &&
            ends[k] <= Length) {
            for (int32_t i = 0; i < GuardFrames; ++i) {
                Data[2 * (ends[k] + i)] = Data[2 * (starts[k] + i)];
                Data[2 * (ends[k] + i) + 1] = Data[2 * (starts[k] + i) + 1];
            }
        }
    }
}

int32_t TVSSSample::ChooseVoice() const
{
    const int32_t count = static_cast<int32_t>(Voices.size());
    for (int32_t i = 0; i < count; ++i) {
        if (!Voices[i]->Active.Load()) {
            return i;
        }
    }
    // All busy: steal the one that has played longest, the quietest among
    // equals, the latest started among those.
    int32_t best = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (best < 0) {
            best = i;
            continue;
        }
        const TVSSSampleVoice& a = *Voices[i];
        const TVSSSampleVoice& b = *Voices[best];
        if (a.Age > b.Age || (a.Age == b.Age && a.Volume <= b.Volume)) {
            best = i;
        }
    }
    return best;
}

void TVSSSampleVoice::Start(int32_t NewVolume, int32_t NewPanning, int32_t Speed16)
{
    Active.Store(true);
    Released = false;
    Backwards = false;
    Volume = NewVolume;
    Panning = NewPanning;
    // A negative speed plays at its magnitude, as music does.
    const int64_t speed = Speed16 < 0 ? -int64_t(Speed16) : int64_t(Speed16);
    const int64_t outputRate = Sample->Owner->SampleRate;
    const __int128 step = static_cast<__int128>(Sample->SampleRate) * speed * 65536 / outputRate;
    Step = step > TVelaSoundSystem::MaxVoiceStep ? TVelaSoundSystem::MaxVoiceStep
                                                 : (step < 0 ? 0 : static_cast<int64_t>(step));
    Age = 0;
    Position = 0;
    TailLeft += LastLeft;
    TailRight += LastRight;
    LastLeft = 0;
    LastRight = 0;
}
