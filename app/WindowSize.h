#pragma once

#include <cstdint>

// What the command line asks for.
struct CommandLine {
    int32_t width = 800;
    int32_t height = 480;
    bool fullScreen = false;
};

// Argument 1 is the width, 2 the height, 3 exactly "f" for full screen.
// A size that is not a positive decimal number that fits 32 bits keeps its default.
CommandLine ParseCommandLine(int argc, const char* const* argv);

struct WindowSize {
    int32_t width;
    int32_t height;
};

// Shrinks a window to 90 % of the desktop with the aspect ratio kept, width
// first, then height. An unknown desktop (0) leaves the size alone, and no
// side ever shrinks below one pixel.
WindowSize ClampToDesktop(WindowSize window, int32_t desktopWidth, int32_t desktopHeight);
