// State 5000: the static loading picture while the load thread works, then one
// texture upload per frame, then the screen that was waiting.
#include "DataManager/Assets.h"
#include "game/GameState.h"
#include "game/ProgramState.h"
#include "game/Screens.h"
#include "render/Logger.h"
#include "render/Texture.h"

namespace {

void enterLoading(int32_t) {}

void updateLoading(int32_t)
{
    // The splash unloads the font as it is entered; uploading it first would only cost memory.
    if (RunUploadStep(GameLog, AfterLoadingState != StateSplash) != TUploadStep::Done)
        return;
    RequestedScreenState = AfterLoadingState;
    if (AfterLoadingState == StateSplash)
        StateTime = 0;
    FrameOrigin = ElapsedTime;
}

void drawLoading(int32_t)
{
    TTexture* texture = LoadingScreenTexture;
    if (texture == nullptr)
        return;
    const float w = float(texture->Width);
    const float h = float(texture->Height);
    texture->DrawTexturedQuad(0, 0, w, h, 0, 0, w, h, 1, 1, 1, 1);
}

} // namespace

const TScreen LoadingScreen{enterLoading, updateLoading, drawLoading};
