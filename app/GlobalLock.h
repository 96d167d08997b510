#pragma once

#include "VelaBase/CriticalSection.h"

// The program's own lock, apart from the sound system's: the main loop holds it
// while it replaces the window and while it maps a mouse motion. Created at
// start-up, freed at shutdown.
extern TVelaCriticalSection* GlobalLock;
