#pragma once

#include "VelaBase/SharedWord.h"
#include <cstdint>

// The audio thread's view of the music: what it last started and whether it has.
extern int32_t CurrentMusic;
extern bool MusicStarted;
// Set once a game frame has been drawn, cleared when the graphics are rebuilt;
// the music step waits for it.
extern TSharedWord<int32_t> MusicFrameDrawn;

// Forgets the current music (ResetGame, before the audio thread runs).
void ResetMusicPlayback();
// Turns MusicRequest into starts and stops of modules, samples and streams;
// runs on the audio thread just before each mixed block.
void ApplyMusicRequest();
