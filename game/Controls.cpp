#include "game/Controls.h"

#include "game/GameState.h"
#include "game/ProgramState.h"
#include "game/SoundControls.h"
#include "render/Logger.h"

namespace {

bool paused = false;
bool resumeOnRelease = false; // a button went down while paused; its release resumes

void takeSoundKeys(int32_t controls)
{
    if ((controls & ControlMusicDown) != 0)
        ChangeMusicLevel(-1);
    if ((controls & ControlMusicUp) != 0)
        ChangeMusicLevel(1);
    if ((controls & ControlEffectsDown) != 0)
        ChangeEffectsLevel(-1);
    if ((controls & ControlEffectsUp) != 0)
        ChangeEffectsLevel(1);
    if ((controls & ControlMute) != 0)
        ToggleMute();
}

// Drops every game input gathered so far except Escape, so none of it acts after the pause.
void swallowGameInput()
{
    KeysPressed.Exchange(0);
    MouseButtonPresses.Exchange(0);
    PreviousButton = 0;
}

void resume()
{
    paused = false;
    resumeOnRelease = false;
    swallowGameInput();
    PauseSound(false);
    GameLog("Resumed...");
}

// Whether this frame's input ends the pause; a press waits for its release,
// so the click never reaches the game.
bool resumingInput(int32_t controls)
{
    if ((controls & (ControlPause | ControlAnyKey)) != 0 || EscapePressed.Load() != 0)
        return true;
    if (MouseButtonPresses.Exchange(0) != 0 || MouseButtonDown.Load() != 0)
        resumeOnRelease = true;
    return resumeOnRelease && MouseButtonDown.Load() == 0;
}

} // namespace

bool StepControls()
{
    int32_t controls = ControlsPressed.Exchange(0);
    if ((controls & ControlPadStart) != 0) {
        if (MelodyGameShowing() || paused)
            controls |= ControlPause;
        else
            GameKeyEvent(GameKeyChoose);
    }
    takeSoundKeys(controls);
    if (!paused) {
        if ((controls & (ControlPause | ControlFocusLost)) != 0)
            PauseGame();
        return paused;
    }
    if (resumingInput(controls))
        resume();
    else
        swallowGameInput();
    return paused;
}

bool GamePaused() { return paused; }

void PauseGame()
{
    if (paused)
        return;
    paused = true;
    resumeOnRelease = false;
    swallowGameInput();
    PauseSound(true);
    GameLog("Paused...");
}

void ResetControls()
{
    paused = false;
    resumeOnRelease = false;
}

bool MelodyGameShowing() { return ScreenState >= StateGameIntro && ScreenState <= StateGameOutro; }
