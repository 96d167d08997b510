// States 60000..60002: the melody game's intro, play and outro, with the pad's
// lights following the note the module player reports as sounding.
#include "game/MelodyGame.h"

#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/ProgramState.h"
#include "game/ScreenLayout.h"
#include "game/Random.h"
#include "game/Screens.h"
#include "render/Font.h"
#include "render/Sprites.h"

#include <algorithm>
#include <cmath>
#include <string>

TMelodyGame Melody;

const char* const TrackTitles[TrackCount] = {
    "SKYWARD by ORLA/KTX",          "HALCYON by VOSTOK",       "LABYRINTH by ZENTRIA", "COMMON THEME by QUARZWERK",
    "OTHER WORLD by NEBULON SQUAD", "RANDOM by YOUR COMPUTER", "BORK WAS HERE!",
};

namespace {

constexpr int32_t RandomNoteCount = 16;
// A leave latched during the intro: the back box's answer, as in the track selection.
constexpr int32_t LeaveChoice = HitBack;

TMelodyGame& game = Melody;

void enterIntro()
{
    game.Track = std::clamp(TrackChoice, 0, TrackCount - 1);
    PendingChoice = -1;
    FadeAlpha = 1;
    GateClosure = 1;
    game.GameOverAlpha = game.ExcellentAlpha = 0;
    Score = 0;
    game.BonusFrame = game.BonusStarted = false;
    game.TabGlow.fill(0);
    game.TabLight.fill(0);
    for (auto& note : game.FlyingNotes)
        note.active = false;
    TrackPlayers().RewindSong();
    if (game.Track == TrackBonus)
        TrackPlayers().WatchSongChannel(1); // the bonus song's melody is on its second channel
}

// The random track's melody: sixteen notes, one of 48, 51, 54 and 57 each.
void drawRandomMelody()
{
    std::array<int32_t, RandomNoteCount> notes{};
    for (int32_t& note : notes)
        note = int32_t((RandomNext() >> 24) & 3) * 3 + 48;
    TrackPlayers().ReplaceMelody(notes, 16);
}

void enterPlay()
{
    TrackPlayers().StopSongLooping();
    if (game.Track == TrackRandom)
        drawRandomMelody();
    MusicRequest.Exchange(MusicSilence);
    game.TurnPhase = PhaseStart;
    game.GameOverAlpha = game.ExcellentAlpha = 0;
}

void enterGame(int32_t state)
{
    if (state == StateGameIntro)
        enterIntro();
    else if (state == StateGame)
        enterPlay();
}

void updateIntro()
{
    const double t = Frame.t;
    const double half = std::min(t / 2, 1.0);
    FadeAlpha = float(1 - half * half * half * half);
    GateClosure = float(1 - half);
    TrackPlayers().FadeMenuMusic(float(1 - half));
    game.SideSlide = float(half);
    game.BonusSlide = 0;
    game.BonusStarted = false;
    game.TabGlow.fill(0);
    game.TabLight.fill(0);
    game.Bubbles.fill(0);
    game.Lives = 3;
    game.TurnPhase = -1;
    if (EscapeHit() || (Click && InBackBox(PointerX(), PointerY())))
        PendingChoice = LeaveChoice;
    else if (Click || TabKeyHit() >= 0)
        PendingChoice = -1;
    if (t >= 2) {
        FadeAlpha = 0;
        GateClosure = 0;
        RequestState(StateGame);
    }
}

void decayLights()
{
    for (size_t tab = 0; tab < game.TabLight.size(); ++tab) {
        game.TabLight[tab] = Approach(game.TabLight[tab], 0, Frame.V);
        game.TabGlow[tab] = Approach(game.TabGlow[tab], 0, Frame.W);
    }
}

void moveFlyingNotes()
{
    for (auto& note : game.FlyingNotes) {
        if (!note.active)
            continue;
        note.x += float(250 * Frame.dt);
        if (note.x > 900)
            note.active = false;
    }
}

void launchFlyingNote(int32_t watchedNote)
{
    for (auto& note : game.FlyingNotes) {
        if (note.active)
            continue;
        note = {true, -32.0f, float((watchedNote % 6) * 18 + 96)};
        return;
    }
}

// The pad follows whichever player is sounding the melody: the full module
// while listening, the phrase player from the computer's turn on.
void followWatchedPlayer()
{
    TTrackPlayers players = TrackPlayers();
    const TMelodySource source = game.TurnPhase < PhaseMyTurn ? TMelodySource::Song : TMelodySource::Phrase;
    const int32_t watchedNote = players.SoundingNote(source);
    const int32_t highlighted = watchedNote >= 0 ? (watchedNote * 3) & 3 : -1;
    const double rise = 1 - std::exp(-Frame.dt / 0.01);
    const int32_t latched = players.LightLatch(source);
    for (int32_t tab = 0; tab < int32_t(game.TabLight.size()); ++tab) {
        float& light = game.TabLight[size_t(tab)];
        if (tab == highlighted && latched >= 0) {
            light = Approach(light, 1, rise);
            if (light > 0.95f)
                players.ClearLightLatch(source, latched);
        } else {
            light = Approach(light, 0, Frame.V);
        }
        float& glow = game.TabGlow[size_t(tab)];
        glow = tab == highlighted ? Approach(glow, 1, Frame.V) : Approach(glow, 0, Frame.W);
    }
    if (players.TakeDanceLatch(source)) {
        game.BonusFrame = !game.BonusFrame;
        game.BonusStarted = true;
        launchFlyingNote(watchedNote);
    }
    moveFlyingNotes();
    if (game.BonusStarted)
        game.BonusSlide = std::min(game.BonusSlide + float(Frame.dt), 1.0f);
}

bool leaveRequested()
{
    return EscapeHit() || PendingChoice == LeaveChoice || (Click && InBackBox(PointerX(), PointerY()));
}

void leaveGame()
{
    TrackPlayers().StopBoth();
    game.TurnPhase = PhaseFinished;
    RequestState(StateGameOutro);
}

void updatePlay()
{
    game.Timer += Frame.dt;
    followWatchedPlayer();
    if (game.TurnPhase != PhaseFinished && leaveRequested()) {
        leaveGame();
        return;
    }
    StepTurnMachine();
}

void updateOutro()
{
    decayLights();
    moveFlyingNotes();
    const double t = Frame.t;
    if (t < 1) {
        FadeAlpha = float(t * t * t * t);
        GateClosure = float(t);
        game.SideSlide = float(1 - t);
    } else {
        FadeAlpha = 1;
        GateClosure = 1;
        game.SideSlide = 0;
        RequestState(StateTitleIntro);
    }
}

void updateGame(int32_t state)
{
    if (state == StateGameIntro)
        updateIntro();
    else if (state == StateGame)
        updatePlay();
    else
        updateOutro();
}

void drawLives()
{
    const int32_t lives = game.Lives;
    DrawSlot(SpriteThreeLives, 0, 0, lives >= 3 ? 1.0f : 0.25f);
    if (lives == 2)
        DrawSlot(SpriteTwoLives, 0, 0);
    else if (lives == 1)
        DrawSlot(SpriteOneLife, 0, 0);
}

void drawPad()
{
    DrawSlot(SpriteTabsOff, 0, 0);
    for (size_t tab = 0; tab < 4; ++tab) {
        const TArea& r = PadLayout.lights[tab];
        const float x = r.left, y = r.top, w = r.Width(), h = r.Height();
        DrawSpriteRegion(SpriteOf(SpriteTabsOn), x, y, w, h, x, y, w, h, 1, 1, 1, game.TabGlow[tab]);
        DrawSpriteRegion(SpriteOf(SpriteTabsOnHand), x, y, w, h, x, y, w, h, 1, 1, 1, game.TabLight[tab]);
    }
    DrawSlot(SpriteTabsReload, 0, 0);
}

void drawGame(int32_t)
{
    DrawSlot(SpriteInGameBackground, 0, 0);
    drawLives();
    for (const auto& note : game.FlyingNotes)
        if (note.active)
            DrawSlot(SpriteLittleBall, note.x - 400, note.y - 240);
    DrawText(TrackTitles[game.Track], 8, 416, 0, 0, 0, 1, 32);
    if (game.Track != TrackBonus)
        DrawText("Score: " + std::to_string(Score), 590, 416, 0, 0, 0, 1, 32);
    const Sprite& simon = SpriteOf(SpriteSimon);
    DrawSlot(SpriteSimon, -(1 - game.SideSlide) * float(simon.w), 0);
    drawPad();
    if (game.Track == TrackBonus) {
        const int32_t slot = game.BonusFrame ? SpriteBork1 : SpriteBork2;
        const float shown = std::min(game.BonusSlide, game.SideSlide);
        DrawSlot(slot, 0, (1 - shown) * float(SpriteOf(slot).h));
    }
    DrawSlot(SpriteBubbleListen, 0, 0, game.Bubbles[0]);
    DrawSlot(SpriteBubbleMyTurn, 0, 0, game.Bubbles[1]);
    DrawSlot(SpriteBubbleYourTurn, 0, 0, game.Bubbles[2]);
    DrawSlot(SpriteGameOverBg, 0, 0, game.GameOverAlpha);
    DrawSlot(SpriteExcellentGameplay, 0, 0, game.ExcellentAlpha);
    DrawSlot(SpriteTitleMenuExit, 0, (1 - game.SideSlide) * 50 + 12);
}

} // namespace

TTrackPlayers TrackPlayers() { return TTrackPlayers(SoundSystem, game.Track); }

int32_t TabKeyHit()
{
    for (int32_t tab = 0; tab < 4; ++tab)
        if (KeyHit(GameKeyTab0 << tab))
            return tab;
    return -1;
}

void ResetMelodyGame() { game = TMelodyGame{}; }

const TScreen MelodyGameScreen{enterGame, updateGame, drawGame};
