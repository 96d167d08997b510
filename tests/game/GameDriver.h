#pragma once

// Runs the game's update without a window: a fixed frame time, the input words
// set by hand, and (optionally) a real sound system mixed block by block after
// every update, as the audio thread would.
#include "DataManager/Assets.h"
#include "VelaSoundSystem/SoundSystem.h"
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

class TGameDriver {
public:
    // One audio block of 1024 frames at 44100 Hz, in microseconds.
    static constexpr int64_t BlockMicros = 23220;

    TGameDriver()
    {
        ClockFrequency = 1000000;
        sound = std::make_unique<TVelaSoundSystem>(44100, 2, 16, 1024);
        SoundSystem = sound.get();
        MouseX.store(0);
        MouseY.store(0);
        MouseButtonDown.store(0);
        MouseButtonPresses.store(0);
        KeysPressed.store(0);
        EscapePressed.store(0);
        QuitRequested.store(0);
        OpenWebPageRequested.store(0);
        ResetMelodyGame();
        ResetMusicPlayback();
        MusicFrameDrawn.store(1);
        MusicRequest.store(MusicSilence);
        AssetsLoaded.store(-1);
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
        AssetsLoaded.store(0);
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
        MouseX.store(x);
        MouseY.store(y);
    }
    void press() { MouseButtonDown.store(-1); }
    void release() { MouseButtonDown.store(0); }
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
        EscapePressed.store(-1);
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
        return sound->LoadModule(slot, bytes.data(), int32_t(bytes.size()), true, 2);
    }

    std::unique_ptr<TVelaSoundSystem> sound;
    bool mixing = false;
};
