#include "app/FramePacer.h"

#include <cerrno>
#include <ctime>

void TFramePacer::Restart(bool SwapsWait, int64_t Now)
{
    swapsWait_ = SwapsWait;
    frameStart_ = Now;
    lastSwap_ = Now;
    fastSwaps_ = 0;
}

int64_t TFramePacer::WakeTime(int64_t Now)
{
    if (swapsWait_) {
        fastSwaps_ = Now - lastSwap_ < FastestDisplayFrame ? fastSwaps_ + 1 : 0;
        lastSwap_ = Now;
        if (fastSwaps_ < FastSwapsToDistrust)
            return Now;
        swapsWait_ = false;
        frameStart_ = Now;
    }
    // Deadlines follow one another a frame apart, so a late wake-up shortens
    // the next frame instead of slowing the rate; a frame that overran starts
    // the count again from now.
    const int64_t deadline = frameStart_ + frame_;
    frameStart_ = deadline > Now ? deadline : Now;
    return frameStart_;
}

int64_t MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void SleepUntil(int64_t Time)
{
    timespec until{};
    until.tv_sec = time_t(Time / 1000000000);
    until.tv_nsec = long(Time % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}
