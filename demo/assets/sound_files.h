// Writing sounds: 16-bit mono WAV by hand, Ogg Vorbis through libvorbisenc.
#pragma once

#include <string>

#include "synth.h"

namespace demo {

bool WriteWav(const std::string& path, const Samples& samples);
// 'quality' is libvorbisenc's VBR quality, -0.1 to 1.0.
bool WriteOgg(const std::string& path, const Samples& samples, float quality = 0.3f);

}  // namespace demo
