#pragma once

#include <cstdint>

// Paces the main loop where buffer swaps do not wait for the display (software
// OpenGL, a virtual display, a driver that ignores the swap interval): after
// each swap the loop sleeps out the rest of the frame, so a still screen does
// not keep a core busy. Where swaps do wait, they pace the loop and it never
// sleeps. Times are monotonic nanoseconds; the game's own clock is untouched,
// so it still sees the true time between frames.
class TFramePacer {
public:
    // One frame at 60 Hz, the rate assumed when the display's cannot be known.
    static constexpr int64_t DefaultFrameNanoseconds = 1000000000 / 60;
    // Swaps closer together than this come faster than a display refreshes.
    static constexpr int64_t FastestDisplayFrame = 2000000;
    // So many such swaps in a row show that the driver ignores the swap interval.
    static constexpr int32_t FastSwapsToDistrust = 30;

    explicit TFramePacer(int64_t FrameNanoseconds = DefaultFrameNanoseconds) : frame_(FrameNanoseconds) {}

    // Starts afresh at Now (each video mode): SwapsWait tells whether the driver
    // confirms that its swaps wait for the display.
    void Restart(bool SwapsWait, int64_t Now);
    // When to wake after a swap that returned at Now: the end of the frame, or
    // Now itself when swaps wait or the frame is already over.
    int64_t WakeTime(int64_t Now);

private:
    int64_t frame_;
    bool swapsWait_ = false;
    int64_t frameStart_ = 0;
    int64_t lastSwap_ = 0;
    int32_t fastSwaps_ = 0;
};

// The monotonic clock in nanoseconds.
int64_t MonotonicNanoseconds();
// Sleeps until the monotonic clock reaches Time (at once when it has).
void SleepUntil(int64_t Time);
