#pragma once

#include "RenderSession.h"

#include <csignal>
#include <string>

// Plays the session through the sound card (SDL audio) until it ends or stop
// becomes non-zero, keeping a one-line status of song position and time on
// stderr. False with the reason in error when the sound card cannot be opened.
bool PlayThroughSoundCard(TRenderSession& session, const volatile std::sig_atomic_t& stop, std::string& error);
