// Ogg Vorbis files encoded with libvorbisenc for sound fixtures.
#pragma once

#include <vector>

// Encodes interleaved samples in -1..1 (frames x channels) as a complete Ogg Vorbis file.
std::vector<unsigned char> EncodeOggVorbis(const std::vector<float>& interleaved, int channels,
                                           int rate, float quality = 0.4f);
