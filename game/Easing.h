#pragma once

#include <cstdint>

// Clock ticks to microseconds, exact for the common frequencies and rounded otherwise.
inline int64_t TicksToMicroseconds(int64_t ticks, int64_t frequency)
{
    if (frequency == 1000000000)
        return (ticks + 500) / 1000;
    if (frequency == 1000000)
        return ticks;
    if (frequency == 1000)
        return ticks * 1000;
    if (frequency <= 0)
        return 0;
    return (ticks * 1000000 + frequency / 2) / frequency;
}

inline double Pow4(double x) { return x * x * x * x; }
// Fade from black over the first second.
inline double EaseIn(double t) { return 1.0 - Pow4(t); }
// Fade to black from a.
inline double EaseOut(double t, double a) { return Pow4(t - a); }
// Slide in, arriving at b.
inline double SlideIn(double t, double b) { return 1.0 - Pow4(b - t); }
// Slide out, leaving from a.
inline double SlideAway(double t, double a) { return 1.0 - Pow4(t - a); }
// x moved towards target by factor.
inline float Approach(float x, float target, double factor) { return float(x + (target - x) * factor); }

// SlideIn while arriving between b - 1 and b; 0 before, 1 after.
inline float InBetween(double t, double b)
{
    if (t < b - 1)
        return 0;
    return t >= b ? 1.0f : float(SlideIn(t, b));
}

// SlideAway while leaving between a and a + 1; 1 before, 0 after.
inline float AwayBetween(double t, double a)
{
    if (t < a)
        return 1;
    return t >= a + 1 ? 0.0f : float(SlideAway(t, a));
}
