#pragma once

// Opens the test window, retrying: under load the virtual X server now and then hangs up on a
// fresh connection during set-up, which says nothing about the code under test.

#include "GLTestWindow.h"

#include <chrono>
#include <memory>
#include <thread>

inline std::unique_ptr<GLTestWindow> OpenTestWindow(int width, int height)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return std::make_unique<GLTestWindow>(width, height);
        } catch (const std::runtime_error&) {
            SDL_Quit();
            if (attempt == 10)
                throw;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}
