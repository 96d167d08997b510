#pragma once

#include "DataManager/Assets.h"

#include "VelaBase/SharedWord.h"
#include <functional>
#include <thread>

class TVelaSoundSystem;

// The background thread that runs LoadAssets once at start-up.
class TLoadThread {
public:
    // What the thread asks of the game: whether it is still in its loading state,
    // and the game's timing reset, run just before the assets are published.
    struct THooks {
        std::function<bool()> inLoadingState;
        std::function<void()> loaded;
    };

    // Starts the thread at once.
    TLoadThread(TVelaSoundSystem& sound, TAssetSource source, THooks hooks);
    // Terminates and waits.
    ~TLoadThread();
    TLoadThread(const TLoadThread&) = delete;
    TLoadThread& operator=(const TLoadThread&) = delete;

    // Asks the loading to stop after its current step; the assets then stay unpublished.
    void Terminate();
    // Waits for the thread to end.
    void WaitFor();

private:
    void run();

    TVelaSoundSystem& sound_;
    TAssetSource source_;
    THooks hooks_;
    TSharedWord<bool> terminated_{false};
    std::thread thread_;
};
