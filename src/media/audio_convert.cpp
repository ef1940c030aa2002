#include "media/audio_convert.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace media {

static_assert(kFormatU8 == AUDIO_U8 && kFormatS16 == AUDIO_S16LSB && kFormatS32 == AUDIO_S32LSB &&
                  kFormatF32 == AUDIO_F32LSB,
              "format codes must match SDL's");
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the mix format is little-endian int16");

namespace {

SDL_AudioStream* Stream(void* p) {
    return static_cast<SDL_AudioStream*>(p);
}

}  // namespace

MixConverter::~MixConverter() {
    Close();
}

bool MixConverter::Open(uint16_t format, int channels, int sourceRate, int mixRate,
                        std::string* error, int blockFrames) {
    Close();
    // Far above any real recording SDL's resampler sizes its buffers with int arithmetic
    // that overflows (a 5 MHz WAV asks for a negative allocation); far below, a 4 KB WAV at
    // 10 Hz would become 17 million frames. Such rates are refused.
    if (channels <= 0 || channels > 8 || sourceRate < kMinSourceRate ||
        sourceRate > kMaxSourceRate || mixRate <= 0) {
        if (error)
            *error = "unsupported layout (" + std::to_string(channels) + " channels, " +
                     std::to_string(sourceRate) + " Hz)";
        return false;
    }
    // Float in between: SDL's own float-to-int16 step scales by 32767 and truncates, ours
    // rounds at 32768 so that 16-bit samples come back unchanged.
    stream_ = SDL_NewAudioStream(format, static_cast<Uint8>(channels), sourceRate, AUDIO_F32SYS, 2,
                                 mixRate);
    if (!stream_) {
        if (error) *error = std::string("no conversion: ") + SDL_GetError();
        return false;
    }
    format_ = format;
    sourceRate_ = sourceRate;
    mixRate_ = mixRate;
    frameBytes_ = static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    blockBytes_ = 0;
    if (sourceRate != mixRate) {
        // 'unit' source frames make a whole number of mix frames; a rate so odd that the unit
        // is huge is left to drift by a fraction of a frame a block.
        blockFrames = std::max(blockFrames, 64);
        int unit = sourceRate / std::gcd(sourceRate, mixRate);
        int block = unit <= blockFrames * 8 ? std::max(1, blockFrames / unit) * unit : blockFrames;
        blockBytes_ = frameBytes_ * block;
    }
    return true;
}

void MixConverter::Close() {
    if (stream_) SDL_FreeAudioStream(Stream(stream_));
    stream_ = nullptr;
    pending_.clear();
    sourceFrames_ = delivered_ = limit_ = 0;
    flushed_ = false;
}

bool MixConverter::PutNow(const uint8_t* bytes, size_t size) {
    if (size == 0) return true;
    return SDL_AudioStreamPut(Stream(stream_), bytes, static_cast<int>(size)) == 0;
}

bool MixConverter::Put(const void* bytes, int size) {
    if (!stream_ || flushed_) return false;
    if (size <= 0) return true;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    size_t n = static_cast<size_t>(size) - static_cast<size_t>(size) % frameBytes_;
    sourceFrames_ += n / frameBytes_;
    if (blockBytes_ == 0) return PutNow(p, n);
    bool ok = true;
    if (!pending_.empty()) {
        size_t take = std::min(n, blockBytes_ - pending_.size());
        pending_.insert(pending_.end(), p, p + take);
        p += take;
        n -= take;
        if (pending_.size() == blockBytes_) {
            ok = PutNow(pending_.data(), pending_.size()) && ok;
            pending_.clear();
        }
    }
    for (; n >= blockBytes_; p += blockBytes_, n -= blockBytes_) ok = PutNow(p, blockBytes_) && ok;
    pending_.insert(pending_.end(), p, p + n);
    return ok;
}

void MixConverter::Flush() {
    if (!stream_ || flushed_) return;
    if (blockBytes_ != 0) {
        PutNow(pending_.data(), pending_.size());
        pending_.clear();
        // More silence than the resampler ever holds back (512 frames of its filter, scaled
        // by the rate ratio when shrinking, plus as much in its staging area).
        int ratio = (sourceRate_ + mixRate_ - 1) / mixRate_;
        size_t padFrames = 2 * 512 * static_cast<size_t>(std::max(1, ratio)) + 64;
        uint8_t silence = format_ == AUDIO_U8 ? 0x80 : 0;
        std::vector<uint8_t> pad(padFrames * frameBytes_, silence);
        if (format_ == AUDIO_U16LSB)
            for (size_t i = 1; i < pad.size(); i += 2) pad[i] = 0x80;
        PutNow(pad.data(), pad.size());
        limit_ = static_cast<uint64_t>(
            std::llround(static_cast<double>(sourceFrames_) * mixRate_ / sourceRate_));
    } else {
        limit_ = sourceFrames_;
    }
    SDL_AudioStreamFlush(Stream(stream_));
    flushed_ = true;
}

void MixConverter::Clear() {
    if (!stream_) return;
    SDL_AudioStreamClear(Stream(stream_));
    pending_.clear();
    sourceFrames_ = delivered_ = limit_ = 0;
    flushed_ = false;
}

int MixConverter::Available() const {
    if (!stream_) return 0;
    int ready = SDL_AudioStreamAvailable(Stream(stream_)) / static_cast<int>(2 * sizeof(float));
    if (flushed_) ready = static_cast<int>(std::min<uint64_t>(ready, limit_ - delivered_));
    return ready;
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
    delivered_ += static_cast<uint64_t>(n);
    return n;
}

}  // namespace media
