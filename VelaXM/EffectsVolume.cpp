#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

void volumeSlide(TVelaXMChannel& ch) { ch.Volume += ch.VolumeSlideMemory; }

void tremorStep(TVelaXMChannel& ch)
{
    const int32_t cycle = ch.TremorOnLength + ch.TremorOffLength;
    if (cycle == 0)
        return;
    if (ch.TremorCounter >= ch.TremorOnLength)
        ch.VolumeOffset -= ch.Volume;
    ch.TremorCounter = (ch.TremorCounter + 1) % cycle;
}

void retriggerVolumeChange(TVelaXMChannel& ch)
{
    int32_t& v = ch.Volume;
    switch (ch.RetriggerVolumeChange) {
    case 1:
        v -= 1;
        break;
    case 2:
        v -= 2;
        break;
    case 3:
        v -= 4;
        break;
    case 4:
        v -= 8;
        break;
    case 5:
        v -= 16;
        break;
    case 6:
        v = v * 2 / 3;
        break;
    case 7:
        v /= 2;
        break;
    case 9:
        v += 1;
        break;
    case 10:
        v += 2;
        break;
    case 11:
        v += 4;
        break;
    case 12:
        v += 8;
        break;
    case 13:
        v += 16;
        break;
    case 14:
        v = v * 3 / 2;
        break;
    case 15:
        v *= 2;
        break;
    default:
        break; // 0 and 8 keep the volume
    }
    // A silent channel is never limited by the tick update; doubling must not run away.
    v = std::clamp(v, -(1 << 24), 1 << 24);
}

} // namespace velaxm
