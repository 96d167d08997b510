#pragma once

// A real OpenGL window for tests that draw: SDL 1.2 under the suite's virtual
// display, with the renderer's entry points resolved and its programs built.
#include "render/GLApi.h"
#include "render/Renderer.h"

#include <SDL/SDL.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class GLTestWindow {
public:
    GLTestWindow(int width, int height)
    {
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0)
            throw std::runtime_error(std::string("SDL_Init: ") + SDL_GetError());
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        if (!SDL_SetVideoMode(width, height, 32, SDL_OPENGL))
            throw std::runtime_error(std::string("SDL_SetVideoMode: ") + SDL_GetError());
        std::string missing;
        if (!LoadGLApi(&SDL_GL_GetProcAddress, missing))
            throw std::runtime_error("OpenGL " + missing + " is incomplete");
        SetScreenSize(width, height);
        RebuildGraphics();
    }
    ~GLTestWindow()
    {
        ReleaseGraphics();
        SDL_Quit();
    }
    GLTestWindow(const GLTestWindow&) = delete;
    GLTestWindow& operator=(const GLTestWindow&) = delete;

    // RGBA pixels of the back buffer, top row first.
    std::vector<uint8_t> ReadPixels() const
    {
        glFinish();
        std::vector<uint8_t> bottomUp(size_t(WindowWidth) * WindowHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
        std::vector<uint8_t> topDown(bottomUp.size());
        const size_t row = size_t(WindowWidth) * 4;
        for (int y = 0; y < WindowHeight; ++y)
            std::copy_n(bottomUp.begin() + (WindowHeight - 1 - y) * row, row, topDown.begin() + y * row);
        return topDown;
    }

    // One pixel (window coordinates, top-left origin) of a ReadPixels result.
    static const uint8_t* Pixel(const std::vector<uint8_t>& pixels, int x, int y)
    {
        return pixels.data() + (size_t(y) * WindowWidth + x) * 4;
    }
};
