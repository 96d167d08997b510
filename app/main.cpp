// Quavero's main program: start-up, the main loop and the orderly shutdown.
#include "DataManager/DataFiles.h"
#include "VelaSoundSystem/AudioFormat.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "app/AudioDevice.h"
#include "app/EventLoop.h"
#include "app/Fatal.h"
#include "app/Gamepad.h"
#include "app/GlobalLock.h"
#include "app/Loading.h"
#include "app/WindowSize.h"
#include "game/Clock.h"
#include "game/Frame.h"
#include "game/GameState.h"
#include "game/ProgramState.h"
#include "render/GLApi.h"
#include "render/Logger.h"
#include "render/Renderer.h"

#include <SDL/SDL.h>

#include <memory>
#include <string>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

TVelaCriticalSection* GlobalLock = nullptr;

namespace {

// The logger's first and last lines bracket the whole process, fatal exits included.
struct LoggingUnit {
    LoggingUnit() { Logger().LogMessage("Starting Application", "Initialization"); }
    ~LoggingUnit() { Logger().LogMessage("Terminating Application", "Finalization"); }
};
LoggingUnit loggingUnit;

void logMain(const char* message) { Logger().LogMessage(message, "Main"); }

void* lookupGLFunction(const char* name) { return SDL_GL_GetProcAddress(name); }

uint32_t chooseVideoFlags(const SDL_VideoInfo& info, bool fullScreen)
{
    uint32_t flags = SDL_OPENGL | SDL_RESIZABLE | SDL_HWPALETTE | SDL_DOUBLEBUF;
    if (fullScreen)
        flags |= SDL_FULLSCREEN;
    if (info.hw_available || info.wm_available)
        flags |= SDL_HWSURFACE;
    if (info.blit_hw || info.blit_hw_CC || info.blit_hw_A || info.blit_sw || info.blit_sw_CC || info.blit_sw_A ||
        info.blit_fill)
        flags |= SDL_HWACCEL;
    return flags;
}

WindowSize openWindow(const CommandLine& line)
{
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_NOPARACHUTE) < 0)
        FatalError("Could not initialize SDL : ");
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        FatalError("Video query failed : ");
    VideoFlags = chooseVideoFlags(*info, line.fullScreen);
    const WindowSize size = ClampToDesktop({line.width, line.height}, info->current_w, info->current_h);
    RememberWindowSizes({info->current_w, info->current_h}, size);
    RequestSwapsThatWait();
    ScreenSurface = SDL_SetVideoMode(size.width, size.height, 32, VideoFlags);
    if (!ScreenSurface)
        FatalError("Unable to create screen : ");
    SDL_ShowCursor(1);
    Running = true;
    return size;
}

void resolveOpenGL()
{
    logMain("Initializing OpenGL...");
    std::string missingGroup;
    if (!LoadContextGLApi(lookupGLFunction, missingGroup))
        FatalError("Unable to load needed OpenGL extensions : ");
}

void openAudio()
{
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_Init(SDL_INIT_AUDIO) < 0)
        FatalError("Unable to initialize SDL audio : ");
    using Format = vss::TAudioFormat;
    SoundSystem = new TVelaSoundSystem(Format::Rate, Format::Channels, Format::Bits, Format::BlockFrames);
    logMain("Initializing audio...");
    OpenAudioDevice(*SoundSystem);
}

void startUp(int argc, char** argv)
{
    logMain("Initializing data...");
    InitDataFiles();
    ClockInit();
    const CommandLine line = ParseCommandLine(argc, argv);
    const WindowSize size = openWindow(line);
    resolveOpenGL();
    openAudio();
    StartTime = ClockNow();
    FrameOrigin = ClockNow() - StartTime;
    OpenWebPageRequested.Exchange(0);
    for (Uint8 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_KEYDOWN, SDL_QUIT, SDL_VIDEORESIZE, SDL_ACTIVEEVENT,
                       SDL_JOYBUTTONDOWN, SDL_JOYHATMOTION})
        SDL_EventState(type, SDL_ENABLE);
    OpenGamepad();
    GlobalLock = new TVelaCriticalSection;
    ResetGame();
    SetScreenSize(size.width, size.height);
    RebuildGraphics();
    PauseAudioDevice(false);
    StartLoading(*SoundSystem);
    ElapsedTime = ClockNow() - StartTime;
    FrameOrigin = ElapsedTime;
    SDL_WM_SetCaption("Quavero", nullptr);
    logMain("Entering main loop...");
}

void shutDown()
{
    logMain("Main loop leaved...");
    StopLoading();
    PauseAudioDevice(true);
    CloseAudioDevice();
    CloseGamepad();
    ReleaseGraphics();
    delete SoundSystem;
    SoundSystem = nullptr;
    delete GlobalLock;
    GlobalLock = nullptr;
    if (ScreenSurface) {
        SDL_FreeSurface(ScreenSurface);
        ScreenSurface = nullptr;
    }
    SDL_Quit();
}

// Blocks of 256 KiB and more (decoded images, the driver's texture storage)
// get pages of their own, which go back to the system when the block is freed.
// Left alone, glibc raises that limit after the first large block is freed and
// keeps every later decoded image in its heap after use.
void keepLargeBlocksMapped()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace

int main(int argc, char** argv)
{
    keepLargeBlocksMapped();
    startUp(argc, argv);
    RunMainLoop(shutDown);
    return 0;
}
