// Conversion of decoded audio into the mix format: interleaved stereo int16 at the mix
// rate. Rate and channel changes are SDL's (SDL_AudioStream, which needs no SDL_Init); the
// last step to int16 is ours and rounds, so 16-bit sources at the mix rate pass unchanged.
//
// SDL's resampler starts every block it is given afresh and drops the fraction of a frame
// that the block's length leaves over, and its flush does not always push out the input it
// holds back. So the input is handed over in blocks whose length converts to a whole number
// of mix frames, and the end is pushed out with silence and cut to the exact length:
// source frames x mix rate / source rate, rounded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// SDL audio format codes, kept here so that callers need no SDL header.
constexpr uint16_t kFormatU8 = 0x0008;
constexpr uint16_t kFormatS16 = 0x8010;  // little-endian, as on every host we build for
constexpr uint16_t kFormatS32 = 0x8020;
constexpr uint16_t kFormatF32 = 0x8120;

// The source rates a sound may have. Above the highest, twice what studios record at, SDL's
// resampler overflows; below the lowest, far under any real recording, a file of a few
// kilobytes would decode to hundreds of megabytes.
constexpr int kMinSourceRate = 1000;
constexpr int kMaxSourceRate = 768000;

// Float sample (full scale 1.0) to int16, rounded and saturated; NaN gives 0.
inline int16_t FloatToS16(float x) {
    if (x != x) return 0;  // a NaN in a float WAV is silence
    float v = x * 32768.0f;
    if (v >= 32767.0f) return 32767;
    if (v <= -32768.0f) return -32768;
    return static_cast<int16_t>(v < 0 ? v - 0.5f : v + 0.5f);
}

class MixConverter {
public:
    MixConverter() = default;
    ~MixConverter();
    MixConverter(const MixConverter&) = delete;
    MixConverter& operator=(const MixConverter&) = delete;

    // From 'format' with 'channels' at 'sourceRate' to stereo int16 at 'mixRate'. False (with
    // the reason) when SDL cannot convert that layout. When resampling, about 'blockFrames'
    // source frames are handed to SDL at once: larger blocks join up more smoothly, smaller
    // ones keep less waiting.
    bool Open(uint16_t format, int channels, int sourceRate, int mixRate, std::string* error,
              int blockFrames = 8192);
    void Close();
    bool IsOpen() const { return stream_ != nullptr; }

    // Queues source bytes (whole source frames).
    bool Put(const void* bytes, int size);
    // Pushes out what is still held back: call once after the last Put. A stream that loops
    // is never flushed, so the resampler runs on across the wrap.
    void Flush();
    // Discards everything queued.
    void Clear();
    // Mix frames ready to be taken.
    int Available() const;
    // Takes up to 'frames' mix frames; returns how many were written.
    int Get(int16_t* out, int frames);

private:
    bool PutNow(const uint8_t* bytes, size_t size);

    void* stream_ = nullptr;  // SDL_AudioStream
    uint16_t format_ = 0;
    int sourceRate_ = 0, mixRate_ = 0;
    size_t frameBytes_ = 0;
    size_t blockBytes_ = 0;  // 0 when the rates match and nothing is held back
    std::vector<uint8_t> pending_;
    uint64_t sourceFrames_ = 0;
    uint64_t delivered_ = 0;
    uint64_t limit_ = 0;  // mix frames in all, known once flushed
    bool flushed_ = false;
    std::vector<float> scratch_;
};

}  // namespace media
