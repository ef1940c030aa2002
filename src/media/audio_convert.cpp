#include "media/audio_convert.h"

#include <SDL.h>

#include <algorithm>

namespace media {

static_assert(kFormatU8 == AUDIO_U8 && kFormatS16 == AUDIO_S16LSB && kFormatS32 == AUDIO_S32LSB &&
                  kFormatF32 == AUDIO_F32LSB,
              "format codes must match SDL's");
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the mix format is little-endian int16");

namespace {
SDL_AudioStream* Stream(void* p) { return static_cast<SDL_AudioStream*>(p); }
}  // namespace

MixConverter::~MixConverter() { Close(); }

bool MixConverter::Open(uint16_t format, int channels, int sourceRate, int mixRate,
                        std::string* error) {
    Close();
    if (channels <= 0 || channels > 8 || sourceRate <= 0 || mixRate <= 0) {
        if (error) *error = "unsupported layout (" + std::to_string(channels) + " channels, " +
                            std::to_string(sourceRate) + " Hz)";
        return false;
    }
    // Float in between: SDL's own float-to-int16 step scales by 32767 and truncates, ours
    // rounds at 32768 so that 16-bit samples come back unchanged.
    stream_ = SDL_NewAudioStream(format, static_cast<Uint8>(channels), sourceRate, AUDIO_F32SYS,
                                 2, mixRate);
    if (!stream_) {
        if (error) *error = std::string("no conversion: ") + SDL_GetError();
        return false;
    }
    return true;
}

void MixConverter::Close() {
    if (stream_) SDL_FreeAudioStream(Stream(stream_));
    stream_ = nullptr;
}

bool MixConverter::Put(const void* bytes, int size) {
    if (!stream_) return false;
    if (size <= 0) return true;
    return SDL_AudioStreamPut(Stream(stream_), bytes, size) == 0;
}

void MixConverter::Flush() {
    if (stream_) SDL_AudioStreamFlush(Stream(stream_));
}

void MixConverter::Clear() {
    if (stream_) SDL_AudioStreamClear(Stream(stream_));
}

int MixConverter::Available() const {
    if (!stream_) return 0;
    return SDL_AudioStreamAvailable(Stream(stream_)) / static_cast<int>(2 * sizeof(float));
}

int MixConverter::Get(int16_t* out, int frames) {
    if (!stream_ || frames <= 0) return 0;
    frames = std::min(frames, Available());
    if (frames <= 0) return 0;
    scratch_.resize(static_cast<size_t>(frames) * 2);
    int got = SDL_AudioStreamGet(Stream(stream_), scratch_.data(),
                                 frames * static_cast<int>(2 * sizeof(float)));
    if (got <= 0) return 0;
    int n = got / static_cast<int>(2 * sizeof(float));
    for (int i = 0; i < n * 2; ++i) out[i] = FloatToS16(scratch_[i]);
    return n;
}

}  // namespace media
