#pragma once

class TVelaSoundSystem;

// Starts loading every asset of the package while the loading picture shows:
// on a thread on the desktop, in slices between frames in the browser.
void StartLoading(TVelaSoundSystem& sound);
// Stops the loading after its current step and waits for it to end.
void StopLoading();
