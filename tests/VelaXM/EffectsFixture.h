#pragma once

// A one-channel player for effect tests, observed tick by tick on the channel state.
#include "VelaXM/PlayerHelpers.h"

#include <tuple>
#include <vector>

namespace xmtest {

struct EffectsFixture {
    std::unique_ptr<TVelaXM> player;
    TVelaXMModule& m() { return *player->Module; }
    TVelaXMChannel& ch(int i = 0) { return player->Module->Channels[i]; }
};

// One channel playing the given cells (a looped saw, fadeout 4096); the player is
// started and the first row is read.
inline EffectsFixture startEffects(const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells,
                                   bool linear = true, int32_t channels = 1)
{
    XmModule spec = simpleModule(channels, cells, loopedSample());
    spec.flags = linear ? 1 : 0;
    spec.instruments[0].fadeout = 4096;
    EffectsFixture f{makePlayer(buildXM(spec))};
    f.player->Play();
    f.m().ProcessTick();
    return f;
}

} // namespace xmtest
