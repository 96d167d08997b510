// The turn machine of the melody game: listen, the computer's phrase, the
// player's answer, mistakes, and the two endings. One step per update; it acts
// on what the audio thread published one update earlier.
#include "game/GameSound.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/MelodyGame.h"
#include "game/Screens.h"
#include "render/Logger.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr int32_t NoteEndRow = TTrackPlayers::NoteEndRow;

TMelodyGame& game = Melody;

void go(int32_t phase)
{
    game.TurnPhase = phase;
    game.Timer = 0;
}

void playSample(uint8_t slot) { TrackPlayers().PlaySample(slot); }

// What the player did on the pad in this update: a tab key or a click on a
// tab (0..3), a click on the hub (HitHub) or beside the pad (HitNothing); nothing otherwise.
std::optional<int32_t> padInput()
{
    if (const int32_t tab = TabKeyHit(); tab >= 0)
        return tab;
    if (Click)
        return PadHit(PointerX(), PointerY());
    return std::nullopt;
}

void latchPadInput()
{
    if (const std::optional<int32_t> input = padInput())
        PendingChoice = *input;
}

// The tab the player chose in this update, or -1.
int32_t readChosenTab()
{
    int32_t choice = -1;
    if (PendingChoice >= 0) {
        choice = PendingChoice;
        PendingChoice = -1;
    } else {
        choice = padInput().value_or(-1);
    }
    if (choice == HitHub)
        return 3 - game.ExpectedTab;
    return choice >= 0 && choice <= 3 ? choice : -1;
}

// A line of the game's trace of a play (the log is off unless asked for).
void logTab(const char* what, int32_t tab) { GameLog(what + std::to_string(tab) + "..."); }

void melodyComplete()
{
    GameLog("Melody complete...");
    game.Bubbles[2] = 0;
    playSample(SampleSlotGreatGameplay);
    if (Locks > 0)
        --Locks;
    go(PhaseLevelDone);
}

void stepListen()
{
    switch (game.TurnPhase) {
    case PhaseStart:
        game.PhraseLength = 1;
        go(PhaseListen);
        break;
    case PhaseListen:
        playSample(SampleSlotListenUp);
        go(PhaseListenIn);
        break;
    case PhaseListenIn:
        game.Bubbles[0] = float(std::min(game.Timer / 0.25, 1.0));
        if (game.Timer >= 0.25) {
            game.Bubbles[0] = 1;
            go(PhaseListenHold);
        }
        break;
    case PhaseListenHold:
        if (game.Timer >= 0.75)
            go(PhaseListenOut);
        break;
    case PhaseListenOut:
        game.Bubbles[0] = float(std::max(1 - game.Timer / 0.75, 0.0));
        if (game.Timer < 0.75)
            break;
        game.Bubbles[0] = 0;
        if (game.Track == TrackRandom) {
            // The random track has nothing to listen to: its notes are drawn, not played.
            game.NoteIndex = 0;
            TrackPlayers().StopPhrase();
            MusicRequest.Exchange(MusicSilence);
            go(PhaseMyTurn);
        } else {
            MusicRequest.Exchange(ModuleSource(SongSlotOf(game.Track)));
            go(PhaseListenWait);
        }
        break;
    case PhaseListenWait:
        if (TrackPlayers().SongSounding())
            break;
        MusicRequest.Exchange(MusicSilence);
        if (game.Track == TrackBonus) {
            // The bonus track is only watched and listened to.
            go(PhaseFinished);
            RequestState(StateGameOutro);
            break;
        }
        game.NoteIndex = 0;
        TrackPlayers().StopPhrase();
        go(PhaseMyTurn);
        break;
    default:
        break;
    }
}

void stepComputerTurn()
{
    switch (game.TurnPhase) {
    case PhaseMyTurn:
        game.Bubbles[2] = 0; // the player's turn is over
        playSample(SampleSlotMyTurn);
        go(PhaseMyTurnIn);
        break;
    case PhaseMyTurnIn:
        game.Bubbles[1] = float(std::min(game.Timer / 0.25, 1.0));
        if (game.Timer >= 0.25)
            go(PhaseMyTurnHold);
        break;
    case PhaseMyTurnHold:
        game.Bubbles[1] = 1;
        if (game.Timer >= 0.5)
            go(PhaseMyTurnOut);
        break;
    case PhaseMyTurnOut:
        game.Bubbles[1] = float(std::max(1 - game.Timer / 0.5, 0.0));
        if (game.Timer >= 0.5) {
            game.Bubbles[1] = 0;
            game.NoteIndex = 0;
            go(PhaseSoundNext);
        }
        break;
    case PhaseSoundNext:
        if (game.NoteIndex < TrackPlayers().MelodyLength() && game.NoteIndex < game.PhraseLength) {
            TrackPlayers().SoundNote(TrackPlayers().MelodyNote(game.NoteIndex));
            logTab("Computer plays tab ", TabOfNoteValue(TrackPlayers().MelodyNote(game.NoteIndex)));
            ++game.NoteIndex;
            go(PhaseNoteRows);
        }
        break;
    case PhaseNoteRows:
        if (TrackPlayers().PhrasePosition() > NoteEndRow + 1) {
            TrackPlayers().ClearCells();
            go(PhaseNoteFade);
        }
        break;
    case PhaseNoteFade:
        if (!TrackPlayers().PhraseSilent())
            break;
        TrackPlayers().StopPhrase();
        TrackPlayers().ClearCells();
        if (game.NoteIndex < game.PhraseLength)
            go(PhaseSoundNext);
        else if (TrackPlayers().MelodyLength() < game.PhraseLength)
            melodyComplete();
        else
            go(PhaseYourTurn);
        break;
    default:
        break;
    }
}

void updateYourTurnBubble()
{
    const double t = game.Timer;
    float alpha = 0;
    if (t < 0.25)
        alpha = float(t / 0.25);
    else if (t < 0.75)
        alpha = 1;
    else if (t < 1.25)
        alpha = float(1 - (t - 0.75) / 0.5);
    game.Bubbles[2] = alpha;
}

void stepPlayerTurn()
{
    // The bubble keeps to its timeline through quick answers: the timer runs
    // from the start of the turn across every answer.
    if (game.TurnPhase != PhaseYourTurn)
        updateYourTurnBubble();
    switch (game.TurnPhase) {
    case PhaseYourTurn:
        GameLog("Your turn...");
        game.NoteIndex = 0;
        playSample(SampleSlotYourTurn);
        go(PhaseAwaitTab);
        break;
    case PhaseAwaitTab: {
        game.ExpectedTab = TabOfNoteValue(TrackPlayers().MelodyNote(game.NoteIndex));
        game.ChosenTab = readChosenTab();
        if (game.ChosenTab < 0)
            break;
        logTab("Player chooses tab ", game.ChosenTab);
        game.PitchOffset = PitchOffsetTo(TrackPlayers().MelodyNote(game.NoteIndex), game.ChosenTab);
        game.TurnPhase = PhaseSoundChoice; // the bubble's timer runs on through the answer
        break;
    }
    case PhaseSoundChoice:
        TrackPlayers().SoundNote(TrackPlayers().MelodyNote(game.NoteIndex) + game.PitchOffset);
        if (game.PitchOffset == 0)
            ++game.NoteIndex;
        PendingChoice = -1;
        game.TurnPhase = PhaseChoiceRows;
        break;
    case PhaseChoiceRows:
        latchPadInput();
        if (TrackPlayers().PhrasePosition() <= NoteEndRow)
            break;
        TrackPlayers().ClearCells();
        if (game.PitchOffset != 0) {
            PendingChoice = -1;
            go(PhaseMistake);
        } else {
            game.TurnPhase = PhaseChoiceFade;
        }
        break;
    case PhaseChoiceFade:
        latchPadInput();
        if (!TrackPlayers().PhraseSilent())
            break;
        TrackPlayers().StopPhrase();
        if (game.NoteIndex < game.PhraseLength) {
            game.TurnPhase = PhaseAwaitTab;
            break;
        }
        PendingChoice = -1;
        ++game.PhraseLength;
        if (TrackPlayers().MelodyLength() < game.PhraseLength) {
            melodyComplete();
        } else {
            Score = Score + Score / 10 + 10;
            go(PhaseMyTurn);
        }
        break;
    default:
        break;
    }
}

void stepMistake()
{
    switch (game.TurnPhase) {
    case PhaseMistake:
        game.Bubbles[2] = 0;
        game.ReplayCount = 3;
        go(PhaseLoseLife);
        break;
    case PhaseLoseLife:
        GameLog("Wrong tab, a life lost...");
        --game.Lives;
        playSample(SampleSlotFail);
        go(PhaseFailSound);
        break;
    case PhaseFailSound:
        if (TrackPlayers().SamplePlaying(SampleSlotFail))
            break;
        if (game.Lives < 1) {
            GameLog("Game over...");
            playSample(SampleSlotKidding);
            go(PhaseGameOver);
        } else {
            go(PhaseReplay);
        }
        break;
    case PhaseReplay:
        if (game.NoteIndex < TrackPlayers().MelodyLength() && game.NoteIndex < game.PhraseLength)
            TrackPlayers().SoundNote(TrackPlayers().MelodyNote(game.NoteIndex));
        go(PhaseReplayRows);
        break;
    case PhaseReplayRows:
        if (TrackPlayers().PhrasePosition() <= NoteEndRow + 1)
            break;
        TrackPlayers().ClearCells();
        if (game.ReplayCount < 1) {
            go(PhaseMyTurn);
        } else {
            --game.ReplayCount;
            go(PhaseReplay);
        }
        break;
    default:
        break;
    }
}

void stepEnding()
{
    switch (game.TurnPhase) {
    case PhaseLevelDone:
        MusicRequest.Exchange(MusicLevelDone);
        game.ExcellentAlpha = float(std::min(game.Timer * game.Timer, 1.0));
        if (game.Timer >= 1) {
            game.ExcellentAlpha = 1;
            go(PhaseLevelDoneWait);
        }
        break;
    case PhaseGameOver:
        MusicRequest.Exchange(MusicGameOver);
        game.GameOverAlpha = float(std::min(game.Timer * game.Timer, 1.0));
        if (game.Timer >= 1) {
            game.GameOverAlpha = 1;
            go(PhaseGameOverWait);
        }
        break;
    case PhaseLevelDoneWait:
    case PhaseGameOverWait:
        if (game.Timer >= (game.TurnPhase == PhaseLevelDoneWait ? LevelDoneHoldSeconds : GameOverHoldSeconds)) {
            go(PhaseFinished);
            RequestState(StateGameOutro);
        }
        break;
    default:
        break;
    }
}

} // namespace

int32_t PitchOffsetTo(int32_t value, int32_t tab)
{
    // The tabs repeat every four semitones, so the nearest note lies within two.
    for (int32_t distance = 0; distance <= 2; ++distance) {
        if (TabOfNoteValue(value - distance) == tab)
            return -distance;
        if (TabOfNoteValue(value + distance) == tab)
            return distance;
    }
    return 0;
}

void StepTurnMachine()
{
    const int32_t phase = game.TurnPhase;
    if (phase < PhaseMyTurn)
        stepListen();
    else if (phase < PhaseYourTurn)
        stepComputerTurn();
    else if (phase < PhaseMistake)
        stepPlayerTurn();
    else if (phase == PhaseMistake || phase >= PhaseLoseLife)
        stepMistake();
    else if (phase < PhaseFinished)
        stepEnding();
}
