// Every sound of the demo game, synthesised.
#pragma once

#include <string>
#include <vector>

#include "synth.h"

namespace demo {

struct SoundPiece {
    std::string file;  // ".wav" or ".ogg": the writer is chosen by the name
    Samples samples;
};

std::vector<SoundPiece> MakeAllSounds();

}  // namespace demo
