#pragma once

// Opens the 44100 Hz, 16-bit, stereo output with 1024-frame blocks, paused.
// Without a device the game runs silent.
void OpenAudioDevice();
// Pauses (true) or runs (false) the callback.
void PauseAudioDevice(bool paused);
void CloseAudioDevice();
