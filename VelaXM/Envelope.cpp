#include "VelaXM/Channel.h"

#include <algorithm>

namespace {

// Slope between two envelope points in 16.16 per tick; flat when they share a tick.
int32_t slopeBetween(const TVelaXMEnvelope::TPoint& from, const TVelaXMEnvelope::TPoint& to)
{
    if (to.X == from.X)
        return 0;
    return (to.Y * 65536 - from.Y * 65536) / (to.X - from.X);
}

} // namespace

void TVelaXMEnvelopeHandler::SetPosition(int32_t p)
{
    Position = p;
    Point = 0;
    Value = 0;
    if (Envelope == nullptr)
        return;
    const TVelaXMEnvelope& env = *Envelope;
    const int32_t count = env.NumPoints;
    for (int32_t i = 0; i < count && env.Points[i].X <= p; ++i)
        Point = i;
    if (env.LoopEnabled && Point == env.LoopEnd) {
        Point = env.LoopStart;
        Position = env.Points[Point].X;
    }
    if (Point < count - 1) {
        const TVelaXMEnvelope::TPoint& a = env.Points[Point];
        const TVelaXMEnvelope::TPoint& b = env.Points[Point + 1];
        if (a.X == b.X) {
            Delta = 0;
            Value = a.Y * 65536;
        } else {
            Delta = (b.Y - a.Y) * 65536 / (b.X - a.X);
            // A position far outside the points (an L effect written by hand) saturates.
            const int64_t value = static_cast<int64_t>(a.Y) * 65536 +
                                  static_cast<int64_t>(Delta) * (static_cast<int64_t>(Position) - a.X);
            Value = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
        }
    } else if (count > 0) {
        Value = env.Points[count - 1].Y * 65536;
    }
    NextPoint = Point + 1;
}

int32_t TVelaXMEnvelopeHandler::Step()
{
    if (Envelope == nullptr || Envelope->NumPoints == 0 || !Envelope->Enabled)
        return 0;
    const TVelaXMEnvelope& env = *Envelope;
    const int32_t count = env.NumPoints;
    if (NextPoint < count && env.Points[NextPoint].X == Position) {
        Point = NextPoint;
        if (env.LoopEnabled && Point == env.LoopEnd) {
            Point = env.LoopStart;
            Position = env.Points[Point].X;
        }
        if (Point + 1 < count) {
            Delta = slopeBetween(env.Points[Point], env.Points[Point + 1]);
            Value = env.Points[Point].Y * 65536;
        } else {
            Delta = 0;
            Value = env.Points[count - 1].Y * 65536;
        }
        NextPoint = Point + 1;
    }
    const int32_t result = Value >> 16;
    if (NextPoint < count) {
        const bool onSustain =
            env.SustainEnabled && env.SustainPoint == Point && env.Points[Point].X == Position && KeyOn;
        if (!onSustain) {
            Value += Delta;
            ++Position;
        }
    }
    return result;
}
