#pragma once

#include "RenderSession.h"

#include <csignal>
#include <string>

// How playing one song through the sound card ended.
enum class TPlaybackEnd { Finished, Skipped, Stopped, Failed };

// Plays the session through the sound card (SDL audio) until it ends, the
// listener asks for the next song (Enter or n on the terminal) or stop becomes
// non-zero, keeping a one-line status of song position and time on stderr
// (after the title, when one is given). Failed with the reason in error when
// the sound card cannot be opened.
TPlaybackEnd PlayThroughSoundCard(TRenderSession& session, const std::string& title,
                                  const volatile std::sig_atomic_t& stop, std::string& error);
