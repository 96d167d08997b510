// The audio thread's music step: the game only names the source it wants; the
// starting and stopping happens here, between two mixed blocks.
#include "game/MusicPlayback.h"

#include "game/GameSound.h"
#include "game/GameState.h"

int32_t CurrentMusic = MusicSilence;
bool MusicStarted = false;
TSharedWord<int32_t> MusicFrameDrawn{0};

void ResetMusicPlayback()
{
    CurrentMusic = MusicSilence;
    MusicStarted = false;
    MusicFrameDrawn.Exchange(0);
}

void ApplyMusicRequest()
{
    if (SoundSystem == nullptr || MusicFrameDrawn.Load() == 0)
        return;
    TGameSound sound(SoundSystem);
    const int32_t request = MusicRequest.Load();
    if (request == CurrentMusic) {
        if (!MusicStarted) {
            if (!sound.Playing(request))
                sound.Start(request);
            MusicStarted = true;
        } else if (SourceKind(request) != TSourceKind::Module && SourceKind(request) != TSourceKind::None &&
                   !sound.Playing(request)) {
            // Menu music and jingles come round again; a module plays once.
            sound.Start(request);
        }
        return;
    }
    sound.Stop(CurrentMusic);
    CurrentMusic = request;
    if (!sound.Playing(request))
        sound.Start(request);
    MusicStarted = true;
}
