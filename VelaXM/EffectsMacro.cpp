#include "VelaXM/Effects.h"
#include "VelaXM/MixTables.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace velaxm {

namespace {

constexpr int32_t kMacroSize = 32;
constexpr int32_t kParameteredMacros = 9; // first parametered macro in the table
constexpr int32_t kFixedMacros = 9 + 16;  // first fixed macro in the table

enum MacroCommand : int32_t { kCutoff = 0, kResonance = 1, kMode = 2 };

// Upper-case hexadecimal digit, or -1.
int32_t hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int32_t& macroTarget(TVelaXMChannel& ch, int32_t command) { return command == kCutoff ? ch.Cutoff : ch.Resonance; }

} // namespace

void setupFilter(const TVelaXMModule& module, TVelaXMChannel& ch)
{
    ch.Cutoff = std::clamp(ch.Cutoff, 0, 127);
    ch.Resonance = std::clamp(ch.Resonance, 0, 127);
    if (module.Tables == nullptr)
        return;
    const auto& c = module.Tables->Filter.At(ch.Resonance, ch.Cutoff);
    ch.FilterA0 = ch.FilterMode == 0 ? c[0] : 4096 - c[0];
    ch.FilterB0 = c[1];
    ch.FilterB1 = c[2];
    if (!ch.FilterActive) {
        ch.FilterY1L = ch.FilterY2L = ch.FilterY1R = ch.FilterY2R = 0;
    }
    ch.FilterActive = true;
}

void runMacro(TVelaXMModule& module, TVelaXMChannel& ch, int32_t parameter, bool smooth)
{
    if (parameter < 0 || parameter > 255)
        return;
    const int32_t index =
        parameter < 128 ? kParameteredMacros + std::clamp(ch.ActiveMacro, 0, 15) : kFixedMacros + (parameter - 128);
    const char* text = reinterpret_cast<const char*>(module.MIDIConfig.data() + index * kMacroSize);
    // Only "F0F0 cc vv" messages (the filter controls) mean anything to this player.
    for (int32_t i = 0; i < 4; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != "F0F0"[i])
            return;
    const int32_t c1 = hexDigit(text[4]), c2 = hexDigit(text[5]);
    if (c1 < 0 || c2 < 0)
        return;
    const int32_t command = c1 * 16 + c2;
    int32_t value = 0;
    if (text[6] == 'z' || text[6] == 'Z') {
        value = parameter;
    } else {
        const int32_t v1 = hexDigit(text[6]), v2 = hexDigit(text[7]);
        if (v1 < 0 || v2 < 0)
            return;
        value = v1 * 16 + v2;
    }
    if (command == kMode) {
        if (value > 31)
            return;
        ch.FilterMode = value < 16 ? 0 : 1;
    } else if (command == kCutoff || command == kResonance) {
        if (value > 127)
            return;
        int32_t& current = macroTarget(ch, command);
        if (smooth) {
            // The value glides so that it arrives on the row's last tick.
            if (ch.Tick == 0) {
                ch.SmoothMacroStart = current;
                ch.SmoothMacroStep = (value - current) / static_cast<double>(std::max<int32_t>(module.Speed, 1));
            }
            current = static_cast<int32_t>(std::lround(ch.SmoothMacroStart + (ch.Tick + 1) * ch.SmoothMacroStep));
        } else {
            current = value;
        }
    } else {
        return;
    }
    setupFilter(module, ch);
}

namespace {

// A note that starts backwards starts from its last frame (the loop's, when it loops):
// from frame 0 it would have nothing to play but that frame.
void startFromTheEnd(TVelaXMChannel& ch)
{
    if (ch.Sample == nullptr || ch.Sample->Length <= 0)
        return;
    const TVelaXMSample& sample = *ch.Sample;
    const bool loop = sample.Loop && sample.LoopLength > 0;
    const int64_t end =
        loop ? std::min<int64_t>(int64_t(sample.LoopStart) + sample.LoopLength, sample.Length) : sample.Length;
    ch.Position = (end - 1) << 32;
}

void soundControl(TVelaXMChannel& ch, int32_t code)
{
    switch (code) {
    case kSurroundOn:
    case kSurroundOff:
        ch.Surround = code == kSurroundOn;
        break;
    case kFilterResetOff:
    case kFilterResetOn:
        ch.FilterResetOnNote = code == kFilterResetOn;
        break;
    case kPlayForwards:
    case kPlayBackwards:
        ch.Backwards = code == kPlayBackwards;
        if (ch.Backwards && ch.Position == 0)
            startFromTheEnd(ch);
        break;
    default:
        break;
    }
}

} // namespace

void soundRowEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case kFilterResonance:
        ch.Resonance = p;
        setupFilter(module, ch);
        break;
    case kMidiMacro:
    case kSmoothMidiMacro:
        runMacro(module, ch, p, ch.Cell.Effect == kSmoothMidiMacro);
        break;
    case kExtended:
        if (extendedCode(p) == kSelectMacro)
            ch.ActiveMacro = lowNibble(p);
        break;
    case kExtraFine:
        if (extraFineCode(p) == kSoundControl)
            soundControl(ch, lowNibble(p));
        break;
    default:
        break;
    }
}

void soundTickEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    // Macros run again on every tick (a smooth macro moves its value along).
    if (ch.Cell.Effect == kMidiMacro || ch.Cell.Effect == kSmoothMidiMacro)
        runMacro(module, ch, ch.Cell.EffectParameter, ch.Cell.Effect == kSmoothMidiMacro);
}

} // namespace velaxm
