#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

void positionJump(TVelaXMModule& module, int32_t order)
{
    module.JumpOrder = order;
    if (!module.JumpPending)
        module.JumpRow = 0;
    module.JumpPending = true;
}

void patternBreak(TVelaXMModule& module, int32_t row)
{
    if (!module.JumpPending)
        module.JumpOrder = module.CurrentOrder + 1;
    module.JumpRow = row;
    module.JumpPending = true;
}

void patternLoop(TVelaXMModule& module, TVelaXMChannel& ch, int32_t count)
{
    if (count == 0) {
        if (!ch.PatternLoopActive)
            ch.PatternLoopRow = module.CurrentRow;
        return;
    }
    // E6x repeats its section x times, so the section plays x + 1 times in all.
    if (!ch.PatternLoopActive) {
        ch.PatternLoopCount = count;
        ch.PatternLoopActive = true;
    } else if (--ch.PatternLoopCount <= 0) {
        ch.PatternLoopActive = false;
        return;
    }
    module.JumpOrder = module.CurrentOrder;
    module.JumpRow = ch.PatternLoopRow;
    module.JumpPending = true;
    // The repeated rows are part of the song, not a return to where it has been.
    module.ForgetPlayedRows(module.CurrentOrder, ch.PatternLoopRow, module.CurrentRow);
}

void flowRowEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case kPositionJump:
        positionJump(module, p);
        break;
    case kPatternBreak:
        patternBreak(module, p);
        break;
    case kSetSpeed:
        // F00 keeps the speed: trackers either ignore it or stop there, and a
        // row per tick would race through the rest of the song.
        if (p > 31)
            module.BPM = static_cast<uint8_t>(std::min(p, 255));
        else if (p > 0)
            module.Speed = static_cast<uint8_t>(p);
        break;
    case kExtended:
        if (extendedCode(p) == kPatternLoop)
            patternLoop(module, ch, lowNibble(p));
        else if (extendedCode(p) == kPatternDelay)
            module.PatternDelay = lowNibble(p);
        break;
    default:
        break;
    }
}

} // namespace velaxm
