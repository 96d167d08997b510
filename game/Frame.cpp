#include "game/Frame.h"

#include "app/ProgramState.h"
#include "render/Renderer.h"

void ResetGame()
{
    FrameDrawn = false;
    FrameOrigin = ElapsedTime;
}

bool FrameStep(int64_t /*delta*/)
{
    BeginFrame();
    UnbindQuad();
    UseNoShader();
    FrameDrawn = true;
    return true;
}
