// RunGame: chooses the host, prepares scripted or replayed input, runs the game's start-up
// and frame loop, writes the requested dumps and screenshots, and shuts down.
#pragma once

#include "shell/options.h"

// Returns the process's exit code.
int RunGame(const TRunOptions& options);
