// The frame driver: the loading screen until the assets are in, then one game
// update and the current screen with its fade and gates on top.
#include "game/Frame.h"

#include "DataManager/Assets.h"
#include "game/Clock.h"
#include "game/Controls.h"
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/MelodyGame.h"
#include "game/MusicPlayback.h"
#include "game/ProgramState.h"
#include "game/ScreenFlow.h"
#include "game/Screens.h"
#include "game/SoundControls.h"
#include "render/Logger.h"
#include "render/Renderer.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <exception>

namespace {

void zeroScreenRecords()
{
    StateTime = 0;
    FadeAlpha = 0;
    GateClosure = 0;
    PendingChoice = -1;
    MenuChoice = -1;
    MenuHover = -1;
    TrackChoice = -1;
    TrackHover = -1;
    Locks = 3;
    Score = 0;
    MusicRequest.Exchange(MusicSilence);
    Slides.fill(0.0f);
    SkipTime = 0;
    Click = false;
    PreviousButton = 0;
    Frame = TFrameTime{};
}

void installRenderHooks()
{
    RenderHooks.markTexturesDirty = MarkTexturesDirty;
    RenderHooks.resetDelta = [] {
        MusicFrameDrawn.Exchange(0);
        ReenterLoadingState();
    };
    RenderHooks.releaseTextures = ReleaseTextures;
}

void drawOverlayAndGates()
{
    if (FadeAlpha > 0) {
        UseSolidShader();
        DrawSolidQuad(0, 0, 800, 480, 0, 0, 0, FadeAlpha);
    }
    if (GateClosure > 0) {
        UseTextureShader();
        const float open = 1.0f - GateClosure;
        const float shift = open * open * float(SpriteTable[SpriteGateRight].w);
        DrawSprite(SpriteTable[SpriteGateLeft], -shift, 0, 1, 1, 1, 1);
        DrawSprite(SpriteTable[SpriteGateRight], shift, 0, 1, 1, 1, 1);
    }
}

// Paused, the screen stands still; only a loading pass (after a resize or a
// switch to full screen) goes on, so the paused screen comes back under the panel.
void updatePaused()
{
    if (ScreenState == StateLoading)
        GameUpdate(0);
    else
        ResumeAfterLoading();
}

void drawComforts(int64_t delta)
{
    if (GamePaused())
        DrawPausePanel();
    StepVolumeIndicator(double(TicksToMicroseconds(delta, ClockFrequency)) * 1e-6);
    DrawVolumeIndicator();
}

void finishFrame()
{
    UnbindQuad();
    UseNoShader();
}

} // namespace

void ResetGame()
{
    try {
        zeroScreenRecords();
        ResetMelodyGame();
        ResetMusicPlayback();
        ResetControls();
        ResetSoundControls();
        ResetSprites();
        FrameDrawn = false;
        installRenderHooks();
        LoadLoadingScreen(*SoundSystem, PackageAssetSource());
        RestartUploads();
        ScreenState = StateLoading;
        NextScreenState = StateLoading;
        RequestedScreenState = 0;
        AfterLoadingState = StateSplash;
        FrameOrigin = ElapsedTime;
    } catch (const std::exception& failure) {
        GameLog(failure.what());
    }
}

bool FrameStep(int64_t delta)
{
    if (AssetsLoaded.Load() == 0) {
        BeginFrame();
        UseTextureShader();
        LoadingScreen.draw(StateLoading);
        finishFrame();
        return true;
    }
    if (StepControls())
        updatePaused();
    else
        GameUpdate(delta);
    BeginFrame();
    if (ScreenState != StateLoading && LoadingScreenTexture != nullptr && LoadingScreenTexture->Handle != 0 &&
        !LoadingScreenTexture->Dirty)
        LoadingScreenTexture->Unload();
    UseTextureShader();
    ScreenOf(ScreenState).draw(ScreenState);
    drawOverlayAndGates();
    drawComforts(delta);
    finishFrame();
    FrameDrawn = true;
    MusicFrameDrawn.Exchange(1);
    return true;
}

TLoadThread::THooks LoadThreadHooks()
{
    // Runs on the load thread before the assets are published; the main thread
    // reads these words only after it has seen AssetsLoaded.
    return {[] { return ScreenState == StateLoading; },
            [] {
                AfterLoadingState = StateSplash;
                StateTime = 0;
            }};
}
