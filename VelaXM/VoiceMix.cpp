#include "VelaXM/VoiceMix.h"

#include "VelaXM/MixKernelSets.h"

#include <algorithm>

namespace velaxm {

namespace {

constexpr int64_t kOne = int64_t(1) << 32;

// The accumulators are 32-bit; many voices cut at once saturate instead of wrapping.
int32_t saturatingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(a) + b, INT32_MIN, INT32_MAX));
}

// One step of the tail: acc / 256 rounded away from zero, so at least 1 towards
// 0 and it always ends. Written with shifts (floor) so that it needs no branch.
int32_t decay(int32_t acc) { return acc > 0 ? acc + ((-acc) >> 8) : acc - (acc >> 8); }

// Whether the voice can never be heard again: its volume envelope rests at 0
// on its last point, or it was released without a volume envelope (which
// silences it). An envelope at 0 with points still ahead is an attack.
bool envelopeStaysSilent(const TVelaXMChannel& ch)
{
    const TVelaXMEnvelopeHandler& handler = ch.VolumeEnvelopeHandler;
    const TVelaXMEnvelope* env = handler.Envelope;
    if (!handler.KeyOn && (env == nullptr || !env->Enabled))
        return true;
    if (env == nullptr || !env->Enabled || ch.EnvVolume != 0 || env->LoopEnabled)
        return false;
    return handler.NextPoint >= env->NumPoints;
}

} // namespace

void releaseToClickRemoval(TVelaXMModule& module, TVelaXMChannel& ch)
{
    module.ClickRemovalL = saturatingAdd(module.ClickRemovalL, ch.LastOutputL);
    module.ClickRemovalR = saturatingAdd(module.ClickRemovalR, ch.LastOutputR);
    ch.LastOutputL = 0;
    ch.LastOutputR = 0;
}

MixRoutine selectRoutine(const TVelaXMChannel& ch, int32_t outputChannels, int32_t interpolation)
{
    const int interp = ch.Step == static_cast<uint64_t>(kOne) ? kNone : std::clamp(interpolation, 0, 3);
    const bool ramp = ch.RampDeltaL != 0 || ch.RampDeltaR != 0;
    const int filterKind = !ch.FilterActive ? kNoFilter : (ch.FilterMode == 0 ? kLowpass : kHighpass);
    const bool equal =
        ch.TargetGainL == ch.TargetGainR && ch.CurrentGainL == ch.CurrentGainR && ch.RampDeltaL == ch.RampDeltaR;
    const int out = outputChannels == 1 ? 1 : 2;
    return activeMixRoutines()[routineIndex(out, interp, ch.Sample->Channels == 2 ? 2 : 1, ramp, filterKind, equal)];
}

int32_t prepareRun(TVelaXMChannel& ch, int32_t limit)
{
    const TVelaXMSample& sample = *ch.Sample;
    const int64_t length = static_cast<int64_t>(sample.Length) << 32;
    const bool loop = sample.Loop && sample.LoopLength > 0;
    const int64_t start = loop ? static_cast<int64_t>(sample.LoopStart) << 32 : 0;
    const int64_t end = loop ? (static_cast<int64_t>(sample.LoopStart) + sample.LoopLength) << 32 : length;
    const bool pingPong = loop && sample.PingPongLoop;
    int64_t& pos = ch.Position;

    if (ch.Backwards && pos < start) {
        if (!loop)
            return 0;
        if (pingPong) {
            pos = 2 * start - pos;
            ch.Backwards = false;
            if (pos < start || pos >= (start + end) / 2)
                pos = start;
        } else {
            pos = std::min(end - (start - pos), end);
        }
    } else if (!ch.Backwards && pos >= end) {
        if (!loop)
            return 0;
        if (pingPong) {
            pos = 2 * end - pos;
            ch.Backwards = true;
            // An overshoot that lands outside the loop restarts from its last frame.
            if (pos < start || pos >= end)
                pos = (end - kOne) + (pos & 0xFFFFFFFF);
        } else {
            pos = std::max(pos - (end - start), start);
            ch.Backwards = false;
        }
    }
    if (pos < 0 || pos >= length || (ch.Backwards && pos < start))
        return 0;

    const auto step = static_cast<int64_t>(ch.Step);
    // Short runs keep the position arithmetic of one run within 64 bits.
    int64_t run = std::min<int64_t>(std::max<int64_t>(16384 / ((step >> 32) + 1), 2), limit);
    int64_t toEvent = run;
    if (!ch.Backwards) {
        if (pos + step * (run - 1) >= end)
            toEvent = (end - pos - 1) / step + 1;
    } else if (pos - step * (run - 1) < start) {
        toEvent = (pos - start - 1) / step + 1;
    }
    run = std::min(run, std::max<int64_t>(toEvent, 1));
    return static_cast<int32_t>(std::max<int64_t>(run, 1));
}

void mixVoice(TVelaXMModule& module, TVelaXMChannel& ch, const MixTarget& target, int32_t offset, int32_t frames)
{
    if (ch.Step == 0) {
        ch.VoiceOn = false;
        return;
    }
    if (ch.Sample == nullptr || !ch.VoiceOn)
        return;
    MixRoutine routine = selectRoutine(ch, target.outputChannels, target.interpolation);
    while (frames >= 1) {
        const int32_t chunk = (ch.RampRemaining >= 1 && ch.RampRemaining < frames) ? ch.RampRemaining : frames;
        const int32_t run = prepareRun(ch, chunk);
        if (run == 0) {
            ch.VoiceOn = false;
            releaseToClickRemoval(module, ch);
            return;
        }
        ch.SignedStep = ch.Backwards ? -static_cast<int64_t>(ch.Step) : static_cast<int64_t>(ch.Step);
        const bool audible =
            ch.CurrentGainL != 0 || ch.CurrentGainR != 0 || ch.RampDeltaL != 0 || ch.RampDeltaR != 0 || ch.FilterActive;
        if (audible) {
            routine(ch, target.mix + static_cast<ptrdiff_t>(offset) * target.outputChannels, run, *target.tables);
        } else {
            // Silent voices only move on; a backwards voice moves backwards.
            ch.Position += ch.SignedStep * run;
            ch.LastOutputL = 0;
            ch.LastOutputR = 0;
        }
        if (ch.RampRemaining > 0) {
            ch.RampRemaining -= run;
            if (ch.RampRemaining < 1) {
                ch.CurrentGainL = ch.TargetGainL;
                ch.CurrentGainR = ch.TargetGainR;
                ch.RampDeltaL = 0;
                ch.RampDeltaR = 0;
                ch.RampRemaining = 0;
                const bool byEnvelope = envelopeStaysSilent(ch);
                const bool finished = ch.Bank == TVelaXMBank::Background || ch.FadeoutVolume == 0 || byEnvelope;
                if (ch.CurrentGainL == 0 && ch.CurrentGainR == 0 && finished) {
                    ch.VoiceOn = false;
                    ch.EnvelopeSilenced = byEnvelope;
                    return;
                }
                routine = selectRoutine(ch, target.outputChannels, target.interpolation);
            }
        }
        frames -= run;
        offset += run;
    }
}

bool mixClickRemoval(TVelaXMModule& module, const MixTarget& target, int32_t offset, int32_t frames)
{
    if (module.ClickRemovalL == 0 && module.ClickRemovalR == 0)
        return false;
    int32_t* out = target.mix + static_cast<ptrdiff_t>(offset) * target.outputChannels;
    int32_t left = module.ClickRemovalL;
    int32_t right = module.ClickRemovalR;
    for (int32_t i = 0; i < frames; ++i) {
        left = decay(left);
        right = decay(right);
        if (target.outputChannels == 1) {
            accumulate(out[i], left);
        } else {
            accumulate(out[2 * i], left);
            accumulate(out[2 * i + 1], right);
        }
    }
    module.ClickRemovalL = left;
    module.ClickRemovalR = right;
    return true;
}

} // namespace velaxm
