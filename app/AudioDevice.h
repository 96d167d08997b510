#pragma once

class TVelaSoundSystem;

// Opens the 44100 Hz, 16-bit, stereo output with 1024-frame blocks, paused; the
// callback hands out the sound system's blocks. Without a device the game runs silent.
void OpenAudioDevice(TVelaSoundSystem& sound);
// Pauses (true) or runs (false) the callback.
void PauseAudioDevice(bool paused);
// Closes the device and drops the block bookkeeping; the sound system may then be freed.
void CloseAudioDevice();
