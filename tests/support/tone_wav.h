// WAV fixtures: a PCM 16-bit mono tone.
#pragma once

#include <string>

std::string MakeToneWav(int rate, double seconds, double frequency = 440.0);
