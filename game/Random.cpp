#include "game/Random.h"

#include <chrono>

TRandomState RandomState{1, 0x10000, 0x10000, 1, 1, 1, 1};

void RandomSeed(uint32_t lo, uint32_t hi)
{
    lo |= 1;
    const uint32_t k = lo & 0x0FFFFFFFu;
    TRandomState& s = RandomState;
    s.s1 = (hi ^ k) | 1;
    s.s2 = ((k ^ 0x075BCD15u) >> 16) | 0x10000u;
    s.s3 = ((hi ^ 0x159A55E5u) & 0xFFFFu) | 0x10000u;
    s.x1 = k ^ 0x075BCD15u;
    s.x2 = hi ^ 0x159A55E5u;
    s.x3 = k ^ 0x1F123BB5u;
    s.x4 = hi ^ 0x05491333u;
}

uint32_t RandomNext()
{
    TRandomState& s = RandomState;
    s.s1 = (s.s1 * 0x0019660Du + 0x3C6EF35Fu) * 0x08088405u;
    s.s2 = (s.s2 & 0xFFFFu) * 65184u + (s.s2 >> 16);
    s.s3 = (s.s3 & 0xFFFFu) * 64860u + (s.s3 >> 16);
    const uint32_t u = s.x1 ^ (s.x1 << 11);
    s.x1 = s.x2;
    s.x2 = s.x3;
    s.x3 = s.x4;
    s.x4 = s.x4 ^ (s.x4 >> 19) ^ u ^ (u >> 8);
    return (s.x4 + s.s1) ^ ((s.s3 << 16) + s.s2);
}

void RandomSeedFromClock()
{
    using namespace std::chrono;
    const uint64_t counter = uint64_t(steady_clock::now().time_since_epoch().count());
    const uint32_t ticks = uint32_t(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
    RandomSeed((uint32_t(counter) ^ ticks) | 1, uint32_t(counter >> 32));
}
