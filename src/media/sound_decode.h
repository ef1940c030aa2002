// Reading sound files: WAV through SDL's loader, Ogg Vorbis through libvorbisfile, told
// apart by their content. Everything is converted to the mix format (interleaved stereo
// int16) at the rate the mixer runs at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

enum class SoundFormat { kUnknown, kWav, kOgg };

// By the first bytes: "RIFF....WAVE" or "OggS".
SoundFormat DetectSoundFormat(const uint8_t* bytes, size_t size);

// The longest sound decoded into memory, in seconds of the mix format; longer ones are
// meant to be streamed.
constexpr int kMaxDecodedSeconds = 15 * 60;
// The largest sound file read whole into memory.
constexpr size_t kMaxSoundFileBytes = 256u << 20;

// Checks a WAV file's chunk layout: a RIFF/WAVE header, an "fmt " and a "data" chunk, and
// no chunk that claims more bytes than the file holds (a cut-off or damaged file).
bool CheckWavChunks(const uint8_t* bytes, size_t size, std::string* error);

// Decodes a whole WAV or Ogg Vorbis file into interleaved stereo int16 frames at 'mixRate'.
// False with the reason for damaged, cut-off, unsupported or empty sounds.
bool DecodeSound(const std::vector<uint8_t>& file, int mixRate, std::vector<int16_t>* frames,
                 std::string* error);

}  // namespace media
