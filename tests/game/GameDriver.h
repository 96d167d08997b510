#pragma once

// Runs the game's update without a window: a fixed frame time, the input words
// set by hand, and (optionally) a real sound system mixed block by block after
// every update, as the audio thread would.
#include "DataManager/Assets.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "VelaXM/VelaXM.h"
#include "game/Clock.h"
#include "game/GameState.h"
#include "game/MelodyGame.h"
#include "game/MusicPlayback.h"
#include "game/ProgramState.h"
#include "game/ScreenFlow.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

// The current track's players, read straight from the sound system (null when a slot is empty).
inline TVelaXM* FullPlayer() { return SoundSystem->FindModule(SongSlotOf(Melody.Track)); }
inline TVelaXM* PhrasePlayer() { return SoundSystem->FindModule(PhraseSlotOf(Melody.Track)); }

// The notes a player logged, 0-based.
inline std::vector<int32_t> loggedMelody(const TVelaXM& player)
{
    std::vector<int32_t> notes;
    for (int32_t i = 0; i < player.NoteLogCount(); ++i)
        notes.push_back(player.LoggedNote(i));
    return notes;
}

class TGameDriver {
public:
    // One audio block of 1024 frames at 44100 Hz, in microseconds.
    static constexpr int64_t BlockMicros = 23220;

    TGameDriver()
    {
        ClockFrequency = 1000000;
        sound = std::make_unique<TVelaSoundSystem>(44100, 2, 16, 1024);
        SoundSystem = sound.get();
        MouseX.Store(0);
        MouseY.Store(0);
        MouseButtonDown.Store(0);
        MouseButtonPresses.Store(0);
        KeysPressed.Store(0);
        EscapePressed.Store(0);
        QuitRequested.Store(0);
        OpenWebPageRequested.Store(0);
        ResetMelodyGame();
        ResetMusicPlayback();
        MusicFrameDrawn.Store(1);
        MusicRequest.Store(MusicSilence);
        AssetsLoaded.Store(-1);
        Locks = 3;
        Score = 0;
        PendingChoice = -1;
        PreviousButton = 0;
        RequestedScreenState = 0;
        enter(StateTitleMenu);
    }
    ~TGameDriver()
    {
        SoundSystem = nullptr;
        AssetsLoaded.Store(0);
    }

    // Puts the machine into a state as if it had just been requested.
    void enter(int32_t state)
    {
        ScreenState = state == StateLoading ? StateTitleMenu : state - 1;
        NextScreenState = state;
        update(0);
    }

    // One update of micros, then one mixed block when mixing.
    void update(int64_t micros = BlockMicros)
    {
        GameUpdate(micros);
        if (mixing) {
            ApplyMusicRequest();
            sound->MixBlock();
        }
    }
    void run(double seconds)
    {
        for (int64_t spent = 0; spent < int64_t(seconds * 1e6); spent += BlockMicros)
            update();
    }
    // Runs until the condition holds or the time is up; whether it held.
    template <typename Condition>
    bool runUntil(Condition condition, double seconds)
    {
        for (int64_t spent = 0; spent < int64_t(seconds * 1e6); spent += BlockMicros) {
            if (condition())
                return true;
            update();
        }
        return condition();
    }

    void pointAt(float x, float y)
    {
        MouseX.Store(x);
        MouseY.Store(y);
    }
    void press() { MouseButtonDown.Store(-1); }
    void release() { MouseButtonDown.Store(0); }
    // Press in one update, release in the next: the release is the click.
    void click(float x, float y)
    {
        pointAt(x, y);
        press();
        update();
        release();
        update();
    }
    void escape()
    {
        EscapePressed.Store(-1);
        update();
    }
    // A game key pressed before the next update.
    void key(int32_t gameKey)
    {
        GameKeyEvent(gameKey);
        update();
    }

    // Loads a module of the shipped data into a slot.
    bool loadModule(uint8_t slot, const std::string& name)
    {
        std::ifstream file(std::string(QUAVERO_SOURCE_DIR) + "/data/" + name, std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        return sound->LoadModule(slot, bytes.data(), int32_t(bytes.size()), true, velaxm::kCubic);
    }

    std::unique_ptr<TVelaSoundSystem> sound;
    bool mixing = false;
};
