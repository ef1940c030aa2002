// The state dump: the world as JSON for tests and tools. Keys are stable: new keys may be
// added, none is ever renamed.
#pragma once

#include <string>

class TGame;

std::string DumpState(const TGame& game);
