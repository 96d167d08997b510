// State 15000: how to play, scrolling up over a night sky of rising note-balls.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/ProgramState.h"
#include "game/Random.h"
#include "game/Screens.h"
#include "render/Sprites.h"

#include <algorithm>
#include <array>

namespace {

constexpr int32_t BallCount = 10;
constexpr int64_t NoSkip = 50000000; // the fade-out time when nobody skips

struct TBall {
    float x = 0, y = 0, w = 0, h = 0;
    float speed = 0;
    int32_t kind = 0; // 0 small, 1 middle, 2 big
};

std::array<TBall, BallCount> balls;
std::array<int32_t, BallCount> drawOrder;
int32_t ballCounter = BallCount;
float scrollPosition = 0;

// A ball of kind n mod 3 at column (57 n mod 16) / 16 of the screen.
TBall makeBall(int32_t n)
{
    TBall ball;
    ball.kind = n % 3;
    const Sprite& sprite = *BallSprites[ball.kind];
    ball.w = float(sprite.oW);
    ball.h = float(sprite.oH);
    ball.speed = float(ball.kind) / 3.0f * 0.875f + 0.125f;
    ball.x = float((57 * n) % 16) / 16.0f * 800.0f - ball.w / 2.0f;
    return ball;
}

void placeBalls()
{
    for (int32_t i = 0; i < BallCount; ++i) {
        balls[size_t(i)] = makeBall(i);
        balls[size_t(i)].y = 480.0f + float(i) / 10.0f * 480.0f;
        drawOrder[size_t(i)] = i;
    }
    ballCounter = BallCount;
}

// Slowest (farthest) first, so nearer balls are drawn over them.
void sortDrawOrder()
{
    for (int32_t i = 1; i < BallCount; ++i) {
        const int32_t index = drawOrder[size_t(i)];
        int32_t j = i - 1;
        while (j >= 0 && balls[size_t(drawOrder[size_t(j)])].speed > balls[size_t(index)].speed) {
            drawOrder[size_t(j + 1)] = drawOrder[size_t(j)];
            --j;
        }
        drawOrder[size_t(j + 1)] = index;
    }
}

void moveBalls()
{
    const float rise = float((scrollPosition >= 1.0f ? 500.0 : 250.0) * Frame.dt);
    for (TBall& ball : balls) {
        ball.y -= ball.speed * rise;
        if (ball.y + ball.h < 0) {
            ball = makeBall(ballCounter++);
            ball.y = 480.0f + ball.h;
        }
    }
    sortDrawOrder();
}

void enterScroller(int32_t)
{
    FadeAlpha = 1;
    GateClosure = 0;
    scrollPosition = 0;
    MusicRequest.Exchange(MusicMenu);
    SkipTime = NoSkip;
    MouseButtonDown.Exchange(0);
    MouseButtonPresses.Exchange(0);
    PreviousButton = 0;
    placeBalls();
    RandomSeedFromClock();
}

void updateScroller(int32_t)
{
    const double t = Frame.t;
    const double skip = double(SkipTime) * 1e-6;
    if ((Click || EscapeHit() || KeyHit(GameKeyChoose)) && SkipTime == NoSkip)
        SkipTime = std::max<int64_t>(StateTime + 250000, 1000000);
    if (t < 1) {
        FadeAlpha = float(EaseIn(t));
        GateClosure = float(1 - t);
    } else if (t < skip) {
        FadeAlpha = 0;
        GateClosure = 0;
    } else if (t < skip + 1) {
        FadeAlpha = float(Pow4(t - skip));
        GateClosure = float(t - skip);
    } else {
        FadeAlpha = 0;
        GateClosure = 1;
        RequestState(StateTitleIntro);
    }
    scrollPosition = float(std::min(t / 45.0, 1.0));
    moveBalls();
}

void drawBalls(bool small)
{
    for (int32_t index : drawOrder) {
        const TBall& ball = balls[size_t(index)];
        if ((ball.kind == 0) == small)
            DrawSprite(*BallSprites[ball.kind], ball.x, ball.y, 1, 1, 1, 1);
    }
}

void drawScroller(int32_t)
{
    DrawSlot(SpriteStartupBackground, 0, 0);
    drawBalls(true);
    DrawSlot(SpriteStartupScrollerText, 0, -2048.0f * (1.0f - scrollPosition));
    drawBalls(false);
}

} // namespace

const TScreen StartupScroller{enterScroller, updateScroller, drawScroller};
