#include "game/Clock.h"

#include <ctime>

int64_t ClockFrequency = 1000;
int32_t ClockShift = 0;

namespace {

constexpr int64_t NanosecondsPerSecond = 1000000000;
constexpr int64_t FrequencyLimit = int64_t(1) << 29;

bool counterWorks = false;

int64_t monotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

void ClockInit()
{
    timespec probe{};
    counterWorks = clock_gettime(CLOCK_MONOTONIC, &probe) == 0;
    ClockFrequency = counterWorks ? NanosecondsPerSecond : 1000;
    ClockShift = 0;
    while (ClockFrequency >= FrequencyLimit) {
        ClockFrequency >>= 1;
        ++ClockShift;
    }
}

int64_t ClockNow()
{
    if (!counterWorks)
        return monotonicMilliseconds() >> ClockShift;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec) >> ClockShift;
}
