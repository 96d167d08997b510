#include "game/GameState.h"

int32_t ScreenState = StateLoading;
int32_t NextScreenState = StateLoading;
int32_t RequestedScreenState = 0;
int64_t StateTime = 0;
float FadeAlpha = 0;
float GateClosure = 0;
int32_t PendingChoice = -1;
int32_t MenuChoice = -1;
int32_t MenuHover = -1;
int32_t TrackChoice = -1;
int32_t TrackHover = -1;
int32_t Locks = 3;
int32_t Score = 0;
TSharedWord<int32_t> MusicRequest{MusicSilence};
std::array<float, 8> Slides{};
int64_t SkipTime = 0;
bool Click = false;
int32_t Keys = 0;
int32_t PreviousButton = 0;
TVelaSoundSystem* SoundSystem = nullptr;
TFrameTime Frame;
